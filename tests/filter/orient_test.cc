#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "orient.h"
#include "test_meshes.h"
#include "test_support.h"

namespace {

std::vector<Face> reversed(std::vector<Face> faces)
{
    for (Face &f : faces)
        std::swap(f[1], f[2]);
    return faces;
}

// A closed torus of rows x cols quads on a ring about the z axis, wound outward.
TriMesh torus(int rows, int cols)
{
    TriMesh m;
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            const float u = 6.2831853f * float(r) / float(rows), v = 6.2831853f * float(c) / float(cols);
            m.vertices.emplace_back((2 + std::cos(v)) * std::cos(u), (2 + std::cos(v)) * std::sin(u),
                                    std::sin(v));
        }
    auto at = [&](int r, int c) { return (r % rows) * cols + (c % cols); };
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            m.faces.emplace_back(at(r, c), at(r + 1, c), at(r + 1, c + 1));
            m.faces.emplace_back(at(r, c), at(r + 1, c + 1), at(r, c + 1));
        }
    return m;
}

// orient_faces by the plain rules: for each edge a -> b of a face taken from
// the stack, the whole face list of a is read.
std::vector<Face> oriented_by_plain_walk(TriMesh m)
{
    m.ensure_vertex_faces();
    std::vector<Face> &faces = m.faces;
    const auto largest = [&](const Face &f) {
        int best = 0;
        for (int j = 1; j < 3; j++)
            if (m.vertices[f[j]].x > m.vertices[f[best]].x)
                best = j;
        return best;
    };
    std::vector<int> label(faces.size(), -1), extreme;
    for (size_t start = 0; start < faces.size(); start++) {
        if (label[start] >= 0)
            continue;
        const int k = int(extreme.size());
        label[start] = k;
        extreme.push_back(int(start));
        std::vector<int> stack{int(start)};
        while (!stack.empty()) {
            const Face f = faces[stack.back()];
            stack.pop_back();
            for (int j = 0; j < 3; j++)
                for (const int g : m.vertex_faces[f[j]]) {
                    const int ca = m.corner_index(g, f[j]), cb = m.corner_index(g, f[(j + 1) % 3]);
                    if (label[g] >= 0 || cb < 0)
                        continue;
                    if (cb == (ca + 1) % 3)
                        std::swap(faces[g][1], faces[g][2]);
                    label[g] = k;
                    const Face &e = faces[extreme[k]];
                    if (m.vertices[faces[g][largest(faces[g])]].x > m.vertices[e[largest(e)]].x)
                        extreme[k] = g;
                    stack.push_back(g);
                }
        }
    }
    std::vector<bool> turn;
    for (const int e : extreme) {
        Point3 sum;
        for (const int g : m.vertex_faces[faces[e][largest(faces[e])]]) {
            const Point3 &p0 = m.vertices[faces[g][0]], &p1 = m.vertices[faces[g][1]], &p2 = m.vertices[faces[g][2]];
            sum += 0.5f * cross(p1 - p0, p2 - p0);
        }
        turn.push_back(sum.x < 0);
    }
    for (size_t i = 0; i < faces.size(); i++)
        if (turn[label[i]])
            std::swap(faces[i][1], faces[i][2]);
    return faces;
}

} // namespace

TEST(OrientFaces, pair_sharing_an_edge_the_same_way_is_made_consistent)
{
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {1, 2, 3}});
    EXPECT_EQ(stderr_of([&] { orient_faces(m); }),
              "Finding vertex to triangle maps... Done.\nAuto-orienting mesh... Done.\n");
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 2}, {1, 3, 2}}));
    EXPECT_EQ(m.visit_marks, (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(OrientFaces, inward_cube_is_turned_outward)
{
    TriMesh m = make_mesh(cube_vertices(), reversed(cube_faces()));
    orient_faces(m);
    EXPECT_EQ(m.faces, cube_faces());
    orient_faces(m);  // already outward: unchanged
    EXPECT_EQ(m.faces, cube_faces());
}

TEST(OrientFaces, only_the_inward_piece_of_two_is_reversed)
{
    std::vector<Point3> v = cube_vertices(0);
    for (const Point3 &p : cube_vertices(3))
        v.push_back(p);
    std::vector<Face> inward = reversed(cube_faces(8)), faces = cube_faces(0);
    faces.insert(faces.end(), inward.begin(), inward.end());
    TriMesh m = make_mesh(v, faces);
    orient_faces(m);
    std::vector<Face> expected = cube_faces(0), second = cube_faces(8);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(m.faces, expected);
    std::vector<uint32_t> pieces(24, 0);
    std::fill(pieces.begin() + 12, pieces.end(), 1u);
    EXPECT_EQ(m.visit_marks, pieces);
}

TEST(OrientFaces, every_edge_of_a_closed_surface_runs_once_each_way_and_outward)
{
    TriMesh m = torus(12, 9);
    const std::vector<Face> outward = m.faces;
    std::mt19937 rng(7);
    for (Face &f : m.faces)
        if (rng() % 2)
            std::swap(f[1], f[2]);
    m.ensure_across_edge();  // links of the faces before they are rewound
    orient_faces(m);
    EXPECT_TRUE(every_edge_once_each_way(m.faces));
    EXPECT_EQ(m.faces, outward);
    // The links were made again for the new winding: every slot is set.
    EXPECT_TRUE(m.across_edge.empty());
    m.ensure_across_edge();
    for (const Face &links : m.across_edge)
        EXPECT_TRUE(links[0] >= 0 && links[1] >= 0 && links[2] >= 0);
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(FlipFaces, twice_restores_every_corner)
{
    TriMesh m = make_grid_mesh(3);
    const std::vector<Face> original = m.faces;
    EXPECT_EQ(stderr_of([&] { flip_faces(m); }), "Flipping faces... Done.\n");
    EXPECT_EQ(m.faces[0], Face(original[0][2], original[0][1], original[0][0]));
    flip_faces(m);
    EXPECT_EQ(m.faces, original);
}

TEST(FlipFaces, rebuilds_strips_from_the_reversed_faces)
{
    TriMesh m = make_grid_mesh(5);
    m.ensure_tristrips();  // the links of the unreversed faces exist now
    flip_faces(m);
    ASSERT_FALSE(m.tristrips.empty());
    EXPECT_EQ(canonical(strip_triangles(m)), canonical(m.faces));
    EXPECT_EQ(canonical(reversed(m.faces)), canonical(make_grid_mesh(5).faces));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(OrientFaces, tangled_meshes_are_oriented_as_by_the_plain_walk)
{
    // Few vertices, many faces: edges of many faces, faces repeating a vertex,
    // vertices of many faces, several pieces.
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> coordinate(-1, 1);
    for (int trial = 0; trial < 60; trial++) {
        const int nv = 4 + int(rng() % 30);
        TriMesh m;
        for (int v = 0; v < nv; v++)
            m.vertices.emplace_back(coordinate(rng), coordinate(rng), coordinate(rng));
        const int nf = 1 + int(rng() % 60);
        for (int f = 0; f < nf; f++)
            m.faces.emplace_back(int(rng() % nv), int(rng() % nv), int(rng() % nv));
        const std::vector<Face> expected = oriented_by_plain_walk(m);
        orient_faces(m);
        ASSERT_EQ(m.faces, expected) << "trial " << trial;
    }
}

TEST(OrientFaces, fans_of_a_hundred_thousand_faces_are_oriented_in_passing)
{
    // Reading the apex's whole face list for each face would take minutes.
    const int n = 100000;
    TriMesh m;
    m.vertices.emplace_back(0, 0, 1);
    for (int i = 0; i <= n; i++) {
        const float angle = 3.14159f * float(i) / float(n);
        m.vertices.emplace_back(std::cos(angle), std::sin(angle), 0);
    }
    for (int i = 0; i < n; i++)
        m.faces.push_back(i % 2 ? Face(0, 1 + i, 2 + i) : Face(0, 2 + i, 1 + i));
    orient_faces(m);
    for (int i = 0; i < n; i++)
        ASSERT_EQ(m.faces[i], m.faces[0][1] == 1 ? Face(0, 1 + i, 2 + i) : Face(0, 2 + i, 1 + i)) << i;

    // Faces that all hold vertex 0 twice share the edge 0-0: one piece,
    // turned as a whole or not at all.
    for (int i = 0; i < n; i++)
        m.faces[i] = Face(0, 0, 1 + i);
    orient_faces(m);
    for (int i = 0; i < n; i++)
        ASSERT_EQ(m.faces[i], m.faces[0][1] == 0 ? Face(0, 0, 1 + i) : Face(0, 1 + i, 0)) << i;
}
