#pragma once
// Small meshes and comparisons of face lists for the filter tests.

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "TriMesh.h"
#include "test_support.h"

// The triangles that counted strips stand for, unpacked in a fresh record.
inline std::vector<Face> strip_triangles(const TriMesh &mesh)
{
    TriMesh unpacked;
    unpacked.vertices = mesh.vertices;
    unpacked.tristrips = mesh.tristrips;
    unpacked.ensure_faces();
    return unpacked.faces;
}

// The twelve triangles of the cube [x0, x0 + 1] x [0, 1] x [0, 1], wound
// outward, on vertices first .. first + 7 (vertex i at bit 0 = x, 1 = y, 2 = z).
inline std::vector<Face> cube_faces(int first = 0)
{
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    std::vector<Face> faces;
    for (const auto &q : quads) {
        faces.emplace_back(first + q[0], first + q[1], first + q[2]);
        faces.emplace_back(first + q[0], first + q[2], first + q[3]);
    }
    return faces;
}

inline std::vector<Point3> cube_vertices(float x0 = 0)
{
    std::vector<Point3> v;
    for (int i = 0; i < 8; i++)
        v.emplace_back(x0 + float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1));
    return v;
}

// A thin rhombus (faces 2 and 4, split along its long diagonal 1-2) with a
// triangle on two of its outer edges (faces 0 and 1) and a third face on the
// diagonal (face 3). Edge 1-2 runs 1 to 2 in face 2 and 2 to 1 in faces 3 and
// 4: faces 2 and 4 link, and face 3 keeps a link to face 2 that face 2 does
// not return. Flipping the diagonal gives faces 2 = (0, 4, 2), 4 = (0, 1, 4).
inline TriMesh rhombus_with_one_sided_link()
{
    TriMesh m;
    m.vertices = {{0, -0.5f, 0}, {-2, 0, 0}, {2, 0, 0}, {0, 0, 1}, {0, 0.5f, 0}, {-1, -2, 0}, {1, 2, 0}};
    m.faces = {{1, 0, 5}, {4, 6, 2}, {0, 1, 2}, {2, 1, 3}, {2, 1, 4}};
    return m;
}

inline std::vector<Face> rhombus_with_one_sided_link_flipped()
{
    return {{1, 0, 5}, {4, 6, 2}, {0, 4, 2}, {2, 1, 3}, {0, 1, 4}};
}
