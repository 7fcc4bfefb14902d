#include <gtest/gtest.h>

#include <algorithm>

#include "TriMesh.h"
#include "remove.h"
#include "slivers.h"
#include "test_support.h"

TEST(DeleteVertices, removes_the_faces_on_them_and_renumbers_the_rest)
{
    TriMesh m = make_grid_mesh(3);
    m.ensure_across_edge();
    std::vector<bool> marks(9, false);
    marks[4] = true;
    const std::string log = stderr_of([&] { delete_vertices(m, marks); });
    EXPECT_EQ(log.rfind("Removing vertices... Finding", 0), 0u);
    EXPECT_TRUE(log.ends_with("1 vertices removed... Done.\n"));
    EXPECT_EQ(m.vertices.size(), 8u);
    EXPECT_EQ(m.vertices[4], Point3(2, 1, 0));
    EXPECT_EQ(m.faces, (std::vector<Face>{{1, 2, 4}, {3, 6, 5}}));
    EXPECT_EQ(m.across_edge, (std::vector<Face>{{-1, -1, -1}, {-1, -1, -1}}));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(DeleteVertices, reports_when_nothing_is_marked)
{
    TriMesh m = make_grid_mesh(2), empty;
    EXPECT_EQ(stderr_of([&] {
                  delete_vertices(m, std::vector<bool>(4, false));
                  delete_vertices(m, {});  // vertices without a mark stay
                  delete_vertices(empty, {true});
              }),
              "Removing vertices... None removed.\nRemoving vertices... None removed.\n");
    EXPECT_EQ(m.vertices.size(), 4u);
}

TEST(DeleteFaces, keeps_the_vertices_and_clears_what_followed_the_faces)
{
    TriMesh m = make_grid_mesh(2);
    m.ensure_across_edge();
    m.ensure_point_areas();
    m.ensure_bounding_sphere();
    EXPECT_EQ(stderr_of([&] { delete_faces(m, {true}); }), "Removing faces... 1 faces removed... Done.\n");
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 3, 2}}));
    EXPECT_EQ(m.vertices.size(), 4u);
    EXPECT_TRUE(m.across_edge.empty() && m.vertex_faces.empty() && m.point_areas.empty());
    EXPECT_FALSE(m.bounding_sphere.valid);
}

TEST(DeleteFaces, strip_only_mesh_stays_strip_only)
{
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}});
    m.tristrips = {5, 0, 1, 2, 3, 4};  // (0,1,2) (2,1,3) (2,3,4)
    delete_faces(m, {false, false, true});
    EXPECT_EQ(m.tristrips, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_TRUE(m.faces.empty());
    EXPECT_EQ(invariant_violation(m), "");

    // Nothing marked: reported, and the mesh is left with faces instead of strips.
    m.bounding_box.valid = true;
    EXPECT_TRUE(stderr_of([&] { delete_faces(m, {}); }).ends_with("Removing faces... None removed.\n"));
    EXPECT_EQ(m.faces.size(), 2u);
    EXPECT_TRUE(m.tristrips.empty());
    EXPECT_TRUE(m.bounding_box.valid);
}

TEST(DeleteFaces, grid_only_mesh_keeps_the_removal)
{
    TriMesh m;
    m.vertices = {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {2, 1, 0}};
    m.grid_cols = m.grid_rows = 2;
    m.range_grid = {0, 1, 2, 3};
    stderr_of([&] { delete_faces(m, {true, false}); });
    m.ensure_faces();
    EXPECT_EQ(m.faces.size(), 1u);
}

TEST(LongSlivers, only_long_thin_faces_are_marked)
{
    TriMesh m = make_grid_mesh(21);  // unit squares: feature size 1
    const int n = int(m.vertices.size());
    m.vertices.insert(m.vertices.end(), {{100, 0, 0}, {200, 0, 0}, {150, 1, 0}, {150, 80, 0}, {100, 5, 0}});
    m.faces.insert(m.faces.end(), {
        {n, n + 1, n + 2},      // long and thin
        {n, n + 1, n + 3},      // long, well shaped
        {n + 4, n + 4, n + 1},  // coincident corners and a long edge
        {0, 1, 0},              // coincident corners, short edges
    });
    const std::vector<bool> marks = mark_long_slivers(m);
    ASSERT_EQ(marks.size(), m.faces.size());
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 2);
    EXPECT_TRUE(marks[marks.size() - 4] && marks[marks.size() - 2]);
}
