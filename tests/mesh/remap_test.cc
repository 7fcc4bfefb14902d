#include <gtest/gtest.h>

#include <cmath>

#include "TriMesh.h"
#include "test_support.h"

namespace {

// A 3 x 3 range grid of samples at z = 1 (cell i names vertex i).
TriMesh grid_3x3()
{
    TriMesh m;
    for (int i = 0; i < 9; i++) {
        m.vertices.emplace_back(float(i % 3), float(i / 3), 1.0f);
        m.range_grid.push_back(i);
    }
    m.grid_cols = m.grid_rows = 3;
    return m;
}

// Four vertices with the strip 0 1 2 3 4: (0,1,2) (2,1,3) (2,3,4).
TriMesh strip_only()
{
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}});
    m.tristrips = {5, 0, 1, 2, 3, 4};
    return m;
}

} // namespace

TEST(RemapVerts, refuses_a_table_of_the_wrong_size)
{
    TriMesh m = make_grid_mesh(2);
    EXPECT_EQ(stderr_of([&] { m.remap_verts({0, 1, 2}); }), "remap_verts called with wrong table size!\n");
    EXPECT_EQ(m.vertices.size(), 4u);
    EXPECT_EQ(m.faces, make_grid_mesh(2).faces);
}

TEST(RemapVerts, identity_still_rebuilds_derived_data)
{
    TriMesh m = make_grid_mesh(3);
    m.bounding_box = {{9, 9, 9}, {9, 9, 9}, true};
    m.point_areas.assign(9, 5.0f);
    m.corner_areas.assign(8, Point3(5, 5, 5));
    m.vertex_neighbors.assign(9, {});
    m.remap_verts({0, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(m.vertices, make_grid_mesh(3).vertices);
    EXPECT_EQ(m.faces, make_grid_mesh(3).faces);
    EXPECT_EQ(m.bounding_box.max, Point3(2, 2, 0));
    EXPECT_FLOAT_EQ(m.point_areas[0] + m.point_areas[1] + m.point_areas[2], 1.0f);
    EXPECT_EQ(m.vertex_neighbors[4].size(), 6u);
    EXPECT_FALSE(m.bounding_sphere.valid);  // what did not exist stays absent
    EXPECT_TRUE(m.across_edge.empty());
}

TEST(RemapVerts, moves_attributes_and_drops_faces_of_removed_vertices)
{
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {2, 1, 3}, {0, 1, 9}});
    m.colors = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    m.visit_marks = {7, 7, 7};  // per-face marks are not carried
    m.remap_verts({-1, 2, 0, 1});
    EXPECT_EQ(m.vertices, (std::vector<Point3>{{0, 1, 0}, {1, 1, 0}, {1, 0, 0}}));
    EXPECT_EQ(m.colors, (std::vector<Color>{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}));
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 2, 1}}));
    EXPECT_TRUE(m.visit_marks.empty());
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(RemapVerts, renumbers_strips_in_place_or_rebuilds_them_when_a_vertex_goes)
{
    TriMesh kept = strip_only();
    kept.remap_verts({4, 3, 2, 1, 0});
    EXPECT_EQ(kept.tristrips, (std::vector<int>{5, 4, 3, 2, 1, 0}));
    EXPECT_TRUE(kept.faces.empty());

    TriMesh dropped = strip_only();
    dropped.remap_verts({0, 1, 2, 3, -1});
    EXPECT_EQ(dropped.tristrips, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_TRUE(dropped.faces.empty());
    EXPECT_EQ(invariant_violation(dropped), "");
}

TEST(RemapVerts, triangulates_the_remapped_grid_again)
{
    TriMesh m = grid_3x3();
    m.grid_to_faces();
    m.remap_verts({-1, 0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(m.range_grid, (std::vector<int>{-1, 0, 1, 2, 3, 4, 5, 6, 7}));
    TriMesh expected = grid_3x3();
    expected.vertices.erase(expected.vertices.begin());
    expected.range_grid = m.range_grid;
    expected.grid_to_faces();
    EXPECT_EQ(m.faces.size(), 7u);
    EXPECT_EQ(m.faces, expected.faces);
    EXPECT_EQ(invariant_violation(m), "");

    // A grid mesh without a face list keeps none.
    TriMesh grid_only = grid_3x3();
    grid_only.ensure_bounding_sphere();
    grid_only.remap_verts({0, 1, 2, 3, 4, 5, 6, 7, -1});
    EXPECT_TRUE(grid_only.faces.empty());
    EXPECT_EQ(grid_only.bounding_sphere.center, Point3(1, 1, 1));
    EXPECT_FLOAT_EQ(grid_only.bounding_sphere.radius, std::sqrt(2.0f));
}
