#include <gtest/gtest.h>

#include "reorder.h"
#include "test_support.h"

namespace {

// Vertex i at (i, 0, 0), so positions tell old indices.
std::vector<Point3> numbered_vertices(int n)
{
    std::vector<Point3> v;
    for (int i = 0; i < n; i++)
        v.emplace_back(float(i), 0.0f, 0.0f);
    return v;
}

std::vector<float> old_indices(const TriMesh &m)
{
    std::vector<float> x;
    for (const Point3 &p : m.vertices)
        x.push_back(p.x);
    return x;
}

} // namespace

TEST(ReorderVertices, numbers_vertices_by_first_use_then_the_unused_in_old_order)
{
    TriMesh m = make_mesh(numbered_vertices(6), {{5, 3, 4}, {3, 4, 0}});
    m.colors = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}};
    EXPECT_EQ(stderr_of([&] { reorder_vertices(m); }), "Reordering vertices... Done.\n");
    EXPECT_EQ(old_indices(m), (std::vector<float>{5, 3, 4, 0, 1, 2}));
    EXPECT_EQ(m.colors[0], Color(5, 0, 0));
    EXPECT_EQ(m.colors[5], Color(2, 0, 0));
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 2}, {1, 2, 3}}));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(ReorderVertices, point_cloud_keeps_its_order)
{
    TriMesh m = make_mesh(numbered_vertices(4));
    reorder_vertices(m);
    EXPECT_EQ(old_indices(m), (std::vector<float>{0, 1, 2, 3}));
    EXPECT_TRUE(m.faces.empty());
}

TEST(ReorderVertices, strips_decide_the_order_and_stay_strips)
{
    TriMesh m = make_mesh(numbered_vertices(5));
    m.tristrips = {4, 3, 2, 1, 0};
    reorder_vertices(m);
    EXPECT_EQ(old_indices(m), (std::vector<float>{3, 2, 1, 0, 4}));
    EXPECT_EQ(m.tristrips, (std::vector<int>{4, 0, 1, 2, 3}));
    EXPECT_TRUE(m.faces.empty());
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(ReorderVertices, grid_decides_the_order_over_faces)
{
    TriMesh m = make_mesh(numbered_vertices(4), {{3, 1, 0}});
    m.grid_cols = m.grid_rows = 2;
    m.range_grid = {2, -1, 0, 1};
    reorder_vertices(m);
    EXPECT_EQ(old_indices(m), (std::vector<float>{2, 0, 1, 3}));
    EXPECT_EQ(m.range_grid, (std::vector<int>{0, -1, 1, 2}));
    EXPECT_EQ(m.faces, (std::vector<Face>{{3, 2, 1}}));
    EXPECT_EQ(invariant_violation(m), "");
}
