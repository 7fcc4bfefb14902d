#include <gtest/gtest.h>

#include "shape_meshes.h"
#include "taubin.h"
#include "test_support.h"

TEST(TaubinSmooth, a_step_moves_interior_vertices_towards_their_neighbours)
{
    TriMesh mesh = make_grid_mesh(3);
    mesh.vertices[4].z = 1.0f; // the one interior vertex; its six neighbours lie at z = 0
    neighbour_average_step(mesh, 0.5f);
    EXPECT_EQ(mesh.vertices[4], Point3(1, 1, 0.5f));
    for (int v : {0, 1, 2, 3, 5, 6, 7, 8})
        EXPECT_EQ(mesh.vertices[v], make_grid_mesh(3).vertices[v]);
}

TEST(TaubinSmooth, boundary_vertices_never_move)
{
    TriMesh mesh = make_grid_mesh(6);
    for (size_t v = 0; v < mesh.vertices.size(); v++)
        mesh.vertices[v].z = float((v * 7) % 5) * 0.1f;
    const TriMesh before = mesh;
    taubin_smooth(mesh, 10);
    int moved = 0;
    for (size_t v = 0; v < mesh.vertices.size(); v++) {
        const Point3 &p = before.vertices[v];
        const bool boundary = p.x == 0 || p.y == 0 || p.x == 5 || p.y == 5;
        if (boundary)
            EXPECT_EQ(mesh.vertices[v], p);
        else
            moved += mesh.vertices[v] != p;
    }
    EXPECT_EQ(moved, 16);
}

TEST(TaubinSmooth, zero_rounds_change_nothing_but_still_report)
{
    TriMesh mesh = make_sphere(1);
    roughen(mesh, 0.1f);
    mesh.ensure_vertex_neighbors();
    mesh.ensure_vertex_faces();
    const std::vector<Point3> before = mesh.vertices;
    EXPECT_EQ(stderr_of([&] { taubin_smooth(mesh, 0); }), "Smoothing mesh... Done.\n");
    EXPECT_EQ(stderr_of([&] { taubin_smooth(mesh, -3); }), "Smoothing mesh... Done.\n");
    EXPECT_EQ(mesh.vertices, before);
}

TEST(TaubinSmooth, smooths_a_noisy_sphere_and_keeps_its_volume)
{
    TriMesh mesh = make_sphere(4);
    roughen(mesh, 0.02f);
    const double rough = radial_spread(mesh);
    const double volume = enclosed_volume(mesh);
    mesh.ensure_normals();
    taubin_smooth(mesh, 10);
    EXPECT_LT(radial_spread(mesh), 0.25 * rough);
    EXPECT_NEAR(enclosed_volume(mesh) / volume, 1.0, 0.03);
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_EQ(invariant_violation(mesh), "");
}

TEST(TaubinSmooth, a_point_cloud_stays_put)
{
    TriMesh cloud = make_mesh({Point3(0, 0, 0), Point3(1, 2, 3)});
    taubin_smooth(cloud, 3);
    EXPECT_EQ(cloud.vertices, (std::vector<Point3>{Point3(0, 0, 0), Point3(1, 2, 3)}));
}
