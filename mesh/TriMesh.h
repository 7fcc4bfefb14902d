#pragma once
// The triangle-mesh record shared by every program of the suite.
//
// A TriMesh holds primary data as read from a file (positions, the surface as
// faces, triangle strips or a range grid, per-vertex attributes) and derived data
// that is computed on demand by the ensure_* operations and cached until an
// operation that invalidates it clears it. Per-vertex vectors are either empty
// (absent) or exactly one entry per vertex.

#include <cstdint>
#include <vector>

#include "Point3.h"
#include "console.h"
#include "index_lists.h"

// Per-vertex colour: red, green, blue, nominally 0..1.
struct Color {
    float r = 0, g = 0, b = 0;

    constexpr Color() = default;
    constexpr Color(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}
    constexpr float &operator[](int i) { return i == 0 ? r : i == 1 ? g : b; }
    constexpr float operator[](int i) const { return i == 0 ? r : i == 1 ? g : b; }
    friend constexpr bool operator==(const Color &, const Color &) = default;
};

// A triangle: three vertex indices in winding order.
struct Face {
    int v[3] = {0, 0, 0};

    constexpr Face() = default;
    constexpr Face(int a, int b, int c) : v{a, b, c} {}
    constexpr int &operator[](int i) { return v[i]; }
    constexpr int operator[](int i) const { return v[i]; }
    friend constexpr bool operator==(const Face &, const Face &) = default;
};

struct BoundingBox {
    Point3 min, max;
    bool valid = false;
};

struct BoundingSphere {
    Point3 center;
    float radius = 0;
    bool valid = false;
};

// Curvature derivatives of one vertex; carried along, filled by no operation.
struct CurvDeriv {
    float d[4] = {0, 0, 0, 0};
    friend constexpr bool operator==(const CurvDeriv &, const CurvDeriv &) = default;
};

// The two storage forms of `tristrips`, told apart by the last element alone:
// counted (each strip is its length then its indices) and terminated (each strip
// is its indices then -1). Between operations the record holds counted form.
enum class StripForm { counted, terminated };

class TriMesh {
public:
    // Primary data.
    std::vector<Point3> vertices;
    std::vector<Face> faces;
    std::vector<int> tristrips;
    std::vector<int> range_grid;  // grid_cols * grid_rows cells, row order, -1 = empty
    int grid_cols = -1;
    int grid_rows = -1;
    std::vector<Color> colors;
    std::vector<float> confidences;
    std::vector<uint32_t> visit_marks;  // per vertex or per face, as a traversal needs
    uint32_t visit_stamp = 0;

    // Derived data (normals may also come from a file).
    std::vector<Point3> normals;
    std::vector<Point3> principal_dir1, principal_dir2;
    std::vector<float> principal_curv1, principal_curv2;
    std::vector<CurvDeriv> curv_derivs;
    std::vector<Point3> corner_areas;  // per face: the area given to each corner
    std::vector<float> point_areas;
    BoundingBox bounding_box;
    BoundingSphere bounding_sphere;
    std::vector<std::vector<int>> vertex_neighbors;
    IndexLists vertex_faces;  // per vertex, its faces in increasing order
    std::vector<Face> across_edge;  // per face, the face across the edge opposite each corner

    // --- Surface forms -------------------------------------------------------

    // Makes `faces` from strips (unpack_tristrips) or else from the grid
    // (grid_to_faces) when `faces` is empty; does nothing otherwise.
    void ensure_faces();

    // Appends the triangulation of `range_grid` to `faces`, then removes long
    // slivers. Cells that are out of range or name a vertex at the origin are
    // set to -1 first.
    void grid_to_faces();

    // Converts `tristrips` in place to the given form; no-op when already there.
    void set_strip_form(StripForm form);

    // Makes `faces` from counted-form `tristrips` when faces are empty; the strips stay.
    void unpack_tristrips();

    // Builds counted-form `tristrips` from `faces` unless strips exist. Needs and
    // keeps `across_edge` (and so `vertex_faces`).
    void ensure_tristrips();

    // Renumbers vertices: map[i] is the new index of vertex i, or -1 to drop it.
    // Each kept vertex needs its own new index; the new vertex count is the
    // largest entry plus one, so entries should not run far past the vertex
    // count. A table of the wrong length is refused with a message. Faces using
    // a dropped vertex (or naming no vertex) go; strips and grid are remapped or
    // rebuilt. Per-vertex attributes move with their vertices (a `visit_marks`
    // of another length is emptied); normals and curvatures are carried, not
    // recomputed. Derived data that existed (areas, box, sphere, adjacency) is
    // rebuilt for the new numbering, and a mesh that had no face list keeps none.
    void remap_verts(const std::vector<int> &map);

    // --- Derived data ----------------------------------------------------------

    // Unit per-vertex normals from strips, faces or, for a point cloud, from the
    // nearest points. Kept when `normals` already has one entry per vertex.
    void ensure_normals();
    // `point_areas` per vertex and `corner_areas` per face. Needs faces.
    void ensure_point_areas();
    // Principal curvatures and directions. Needs faces, normals and point areas.
    void ensure_curvatures();

    // Adjacency tables (built once; empty on a mesh without faces). They call
    // ensure_faces first; across-edge links join only consistently oriented
    // faces. Corners naming no vertex are skipped.
    void ensure_vertex_neighbors();
    void ensure_vertex_faces();
    void ensure_across_edge();

    // Axis-aligned box of the vertices; left invalid when there are none.
    void ensure_bounding_box();
    // Smallest sphere enclosing the vertices; left invalid when there are none.
    void ensure_bounding_sphere();

    // Clearing of derived data.
    void clear_normals() { normals.clear(); }
    void clear_curvatures();
    void clear_point_areas() { point_areas.clear(); corner_areas.clear(); }
    void clear_bounding_box() { bounding_box.valid = false; }
    void clear_bounding_sphere() { bounding_sphere.valid = false; }
    void clear_vertex_neighbors() { vertex_neighbors.clear(); }
    void clear_vertex_faces() { vertex_faces.clear(); }
    void clear_across_edge() { across_edge.clear(); }
    // Clears the three adjacency tables together (after a change of the face set).
    void clear_adjacency();

    // --- Queries -----------------------------------------------------------------

    // True when vertex v has a different number of neighbours than of faces.
    // Builds `vertex_neighbors` and `vertex_faces` on demand. False for a vertex
    // outside those tables, so every vertex of a mesh without faces is interior.
    bool is_boundary(int v);

    // Position 0, 1 or 2 of vertex v in face f (first match), -1 when absent.
    int corner_index(int f, int v) const
    {
        const Face &face = faces[f];
        return face[0] == v ? 0 : face[1] == v ? 1 : face[2] == v ? 2 : -1;
    }

    // The median edge length of a random sample of faces: the feature size in
    // which most filter widths are given. Calls ensure_faces. Samples min(faces
    // / 2, 333) faces from a process-wide sequence, so successive calls differ;
    // a single face gives the median of its own edges, no faces give 0.
    float median_edge_length();
};
