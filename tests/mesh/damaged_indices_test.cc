#include <gtest/gtest.h>

#include "TriMesh.h"
#include "remove.h"
#include "slivers.h"
#include "test_support.h"

// Readers reject indices that name no vertex; the operations must still never
// read out of range when a damaged record reaches them (the sanitizer flavour
// of this test is the real check).
TEST(DamagedIndices, every_operation_survives_indices_that_name_no_vertex)
{
    const std::vector<Point3> v = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};
    const std::vector<Face> faces = {{0, 1, 2}, {2, 1, 3}, {2, 1, 40}, {-5, 3, 1}, {3, 3, 99}};
    TriMesh m = make_mesh(v, faces);
    m.ensure_vertex_neighbors();
    m.ensure_across_edge();
    EXPECT_EQ(m.vertex_neighbors[1], (std::vector<int>{2, 0, 3}));
    EXPECT_EQ(m.across_edge[2][2], 0);  // a face with a bad corner still links on its valid edge
    for (int i = -2; i < 8; i++)
        m.is_boundary(i);
    m.ensure_tristrips();
    m.median_edge_length();
    EXPECT_EQ(mark_long_slivers(m).size(), faces.size());
    delete_faces(m, {false, false, false, true});
    m.remap_verts({0, 1, 2, 3});
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 2}, {2, 1, 3}}));
    EXPECT_EQ(invariant_violation(m), "");

    TriMesh strips = make_mesh(v);
    strips.tristrips = {5, 0, 1, 2, 77, 3};
    strips.remap_verts({3, 2, 1, 0});
    EXPECT_EQ(strips.tristrips, (std::vector<int>{3, 3, 2, 1, 1, 0}));

    TriMesh grid = make_mesh(v);
    grid.grid_cols = grid.grid_rows = 2;
    grid.range_grid = {0, 1, 2, 12};
    delete_vertices(grid, {false, true, false, false});
    EXPECT_EQ(grid.range_grid, (std::vector<int>{0, -1, 1, -1}));
    EXPECT_EQ(invariant_violation(grid), "");
}
