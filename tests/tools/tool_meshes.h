#pragma once
// Meshes for the tools' tests: a sphere, holes cut into a mesh, and the
// counts that tell whether a surface is closed.

#include <cmath>
#include <numbers>
#include <vector>

#include "TriMesh.h"
#include "boundary.h"
#include "remove.h"
#include "test_support.h"
#include "tool_mesh.h"

// A unit sphere of `rings` bands of latitude and `segments` of longitude,
// wound outward, with one vertex at each pole.
inline TriMesh make_sphere(int rings, int segments)
{
    std::vector<Point3> v{{0, 0, 1}};
    for (int r = 1; r < rings; r++)
        for (int s = 0; s < segments; s++) {
            const double theta = std::numbers::pi * r / rings, phi = 2 * std::numbers::pi * s / segments;
            v.emplace_back(float(std::sin(theta) * std::cos(phi)), float(std::sin(theta) * std::sin(phi)),
                           float(std::cos(theta)));
        }
    v.emplace_back(0, 0, -1);
    const int south = int(v.size()) - 1;
    auto at = [segments](int r, int s) { return 1 + (r - 1) * segments + s % segments; };
    std::vector<Face> f;
    for (int s = 0; s < segments; s++) {
        f.emplace_back(0, at(1, s), at(1, s + 1));
        f.emplace_back(south, at(rings - 1, s + 1), at(rings - 1, s));
        for (int r = 1; r + 1 < rings; r++) {
            f.emplace_back(at(r, s), at(r + 1, s), at(r + 1, s + 1));
            f.emplace_back(at(r, s), at(r + 1, s + 1), at(r, s + 1));
        }
    }
    return make_mesh(v, f);
}

// Removes the faces with a corner within `radius` of one of `centres`, then the
// vertices no face uses.
inline void cut_holes(TriMesh &mesh, const std::vector<Point3> &centres, float radius)
{
    std::vector<bool> marks(mesh.faces.size(), false);
    for (size_t f = 0; f < mesh.faces.size(); f++)
        for (int j = 0; j < 3; j++)
            for (const Point3 &c : centres)
                marks[f] = marks[f] || dist2(mesh.vertices[mesh.faces[f][j]], c) < radius * radius;
    delete_faces(mesh, marks);
    remove_unused_vertices(mesh);
    keep_faces_only(mesh);
}

inline size_t border_edge_count(TriMesh mesh) { return boundary_edges(mesh).size(); }
