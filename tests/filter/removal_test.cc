#include <gtest/gtest.h>

#include "clip_box.h"
#include "removal.h"
#include "test_meshes.h"
#include "test_support.h"

TEST(DeleteOrphanVertices, point_cloud_loses_every_vertex)
{
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    m.colors.assign(3, Color(1, 1, 1));
    EXPECT_EQ(stderr_of([&] { delete_orphan_vertices(m); }),
              "Removing vertices... 3 vertices removed... Done.\n");
    EXPECT_TRUE(m.vertices.empty());
    EXPECT_TRUE(m.colors.empty());
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(DeleteOrphanVertices, removes_unused_vertices_and_renumbers_faces)
{
    TriMesh m = make_mesh({{0, 0, 0}, {9, 9, 9}, {1, 0, 0}, {0, 1, 0}, {8, 8, 8}}, {{0, 2, 3}});
    m.confidences = {0, 1, 2, 3, 4};
    delete_orphan_vertices(m);
    EXPECT_EQ(m.vertices, (std::vector<Point3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    EXPECT_EQ(m.confidences, (std::vector<float>{0, 2, 3}));
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 2}}));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(DeleteOrphanVertices, strip_only_mesh_stays_strip_only)
{
    TriMesh m = make_mesh({{0, 0, 0}, {9, 9, 9}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    m.tristrips = {4, 0, 2, 3, 4};
    delete_orphan_vertices(m);
    EXPECT_EQ(m.vertices.size(), 4u);
    EXPECT_TRUE(m.faces.empty());
    EXPECT_EQ(m.tristrips, (std::vector<int>{4, 3, 2, 1, 0}));  // rebuilt
    EXPECT_EQ(invariant_violation(m), "");

    TriMesh used = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    used.tristrips = {3, 0, 1, 2};  // nothing to remove: still strips only
    delete_orphan_vertices(used);
    EXPECT_TRUE(used.faces.empty());
    EXPECT_EQ(used.tristrips, (std::vector<int>{3, 0, 1, 2}));
}

TEST(DeleteSliverFaces, strip_only_mesh_gets_strips_with_fewer_triangles)
{
    TriMesh m = make_grid_mesh(21);
    const int n = int(m.vertices.size());
    m.vertices.insert(m.vertices.end(), {{100, 0, 0}, {200, 0, 0}, {150, 1, 0}});
    m.faces.emplace_back(n, n + 1, n + 2);
    m.ensure_tristrips();
    m.faces.clear();
    m.clear_adjacency();
    delete_sliver_faces(m);
    EXPECT_EQ(strip_triangles(m).size(), 800u);
    EXPECT_EQ(canonical(strip_triangles(m)), canonical(m.faces));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(ErodeBoundary, erodes_one_ring_per_call)
{
    TriMesh m = make_grid_mesh(4);
    EXPECT_TRUE(stderr_of([&] { erode_boundary(m); }).ends_with("12 vertices removed... Done.\n"));
    EXPECT_EQ(m.vertices, (std::vector<Point3>{{1, 1, 0}, {2, 1, 0}, {1, 2, 0}, {2, 2, 0}}));
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 3}, {0, 3, 2}}));
    EXPECT_EQ(invariant_violation(m), "");

    erode_boundary(m);
    EXPECT_TRUE(m.vertices.empty());
    EXPECT_TRUE(m.faces.empty());
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(ErodeBoundary, closed_surface_and_point_cloud_lose_nothing)
{
    TriMesh tetra = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                              {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
    EXPECT_TRUE(stderr_of([&] { erode_boundary(tetra); }).ends_with("None removed.\n"));
    EXPECT_EQ(tetra.faces.size(), 4u);

    TriMesh cloud = make_mesh({{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(stderr_of([&] { erode_boundary(cloud); }), "Removing vertices... None removed.\n");
    EXPECT_EQ(cloud.vertices.size(), 2u);
}

TEST(ClipToBox, box_holding_everything_removes_nothing)
{
    TriMesh m = make_grid_mesh(3);
    BoundingBox box{{0, 0, 0}, {2, 2, 0}};  // vertices on the surface stay
    EXPECT_EQ(stderr_of([&] { clip_to_box(m, box); }), "Removing vertices... None removed.\n");
    EXPECT_EQ(m.vertices.size(), 9u);
    EXPECT_EQ(m.faces.size(), 8u);
}

TEST(ClipToBox, zero_size_box_keeps_only_vertices_at_its_point)
{
    TriMesh m = make_grid_mesh(3);
    m.vertices.emplace_back(1, 1, 0);  // a second vertex at the same place
    clip_to_box(m, BoundingBox{{1, 1, 0}, {1, 1, 0}});
    EXPECT_EQ(m.vertices, (std::vector<Point3>{{1, 1, 0}, {1, 1, 0}}));
    EXPECT_TRUE(m.faces.empty());
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(ReadClipBox, reads_six_numbers_orders_each_axis_and_clips)
{
    TempDir dir;
    write_file(dir.file("box"), "1.5 0 -1\n -0.5 2 1\n");
    TriMesh m = make_grid_mesh(3);
    EXPECT_TRUE(read_clip_box(dir.file("box").c_str(), m));
    EXPECT_EQ(m.vertices, (std::vector<Point3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 2, 0}, {1, 2, 0}}));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(ReadClipBox, reports_a_missing_or_short_file_and_leaves_the_mesh)
{
    TempDir dir;
    write_file(dir.file("short"), "0 0 0 1 1");
    TriMesh m = make_grid_mesh(3);
    const std::string missing = dir.file("none"), short_file = dir.file("short");
    EXPECT_EQ(stderr_of([&] { EXPECT_FALSE(read_clip_box(missing.c_str(), m)); }),
              "Couldn't open " + missing + "\n");
    EXPECT_EQ(stderr_of([&] { EXPECT_FALSE(read_clip_box(short_file.c_str(), m)); }),
              "Couldn't read " + short_file + "\n");
    EXPECT_EQ(m.vertices.size(), 9u);
}
