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
