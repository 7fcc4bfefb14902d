#pragma once
// Where subdivision puts its new vertices and moves its old ones: the edge
// rules of each scheme, the stencils around extraordinary vertices and the Loop
// vertex rule. All arithmetic is in floats.

#include <optional>
#include <span>
#include <vector>

#include "TriMesh.h"
#include "subdivide.h"

// The share of an old vertex's own position in its new one under a Loop
// scheme, for a vertex of valence n without boundary edges (the rest goes to
// the mean of its neighbours). Tabulated for n = 3 to 6; otherwise 0.625
// (loop), 3/8 + a^2 (loop_formula) or 1 - q + a^2 (loop_extraordinary), with
// a = 3/8 + cos(2 pi / n) / 4 and q = a (4 + a (5a - 8)) / (2 (1 - a)).
float vertex_weight(SubdivScheme scheme, int n);

// The weights w_i of the stencil around a vertex of valence n, neighbour i = 0
// being the far end of the edge being split. Computed once per valence.
class StencilWeights {
public:
    explicit StencilWeights(bool butterfly) : butterfly(butterfly) {}

    // The n weights, or an empty span where the regular edge rule stands in:
    // below valence 4 for Loop, below 3 for the butterfly. Valence 6 is
    // regular and has no stencil either.
    std::span<const float> operator()(int n);

private:
    bool butterfly;
    std::vector<std::vector<float>> by_valence;
};

// The rules of one scheme on one mesh. Reads the old vertices' positions,
// `faces`, `vertex_faces` and `across_edge`, which the caller has built and
// leaves alone while it uses the rules (appending new vertices is fine).
class SubdivisionRules {
public:
    SubdivisionRules(const TriMesh &mesh, SubdivScheme scheme);

    // The new vertex on edge j of face f, the edge opposite corner j.
    Point3 edge_point(int f, int j);

    // The new position of old vertex v under a Loop scheme: 3/4 of itself and
    // 1/4 of the mean of its boundary neighbours when it has boundary edges,
    // otherwise vertex_weight of itself and the rest of the mean of its
    // neighbours (each counted once per face that holds the edge). A vertex
    // without faces stays.
    Point3 vertex_point(int v) const;

private:
    const Point3 &at(int v) const { return mesh.vertices[v]; }
    int valence(int v) const { return int(mesh.vertex_faces[v].size()); }

    // The regular rules for edge j of face f (ends p, q), with g across it.
    Point3 loop_edge(int f, int j, int g) const;
    Point3 butterfly_edge(int f, int j, int g) const;
    Point3 four_point(int p, int q) const;

    // The vertex across the edge of face F opposite corner c, or the
    // reflection of that corner's vertex over the edge when no face is there.
    Point3 wing(int F, int c) const;
    // Mean of the ends of every boundary edge of the faces around x.
    Point3 boundary_mean(int x) const;

    // The stencil around v starting in face h (where the far end of the edge
    // follows v); nothing when v's fan is not a closed ring of linked faces,
    // or when its valence has no stencil.
    std::optional<Point3> stencil(int v, int h);
    // Schemes 3 and 5: the regular rule next to regular vertices, stencils
    // around the irregular ones (the mean of both when both are).
    Point3 extraordinary_edge(int f, int j, int g);

    const TriMesh &mesh;
    SubdivScheme scheme;
    StencilWeights weights;
};
