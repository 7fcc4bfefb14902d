#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "TriMesh.h"
#include "curvature.h"
#include "lineqn.h"
#include "test_support.h"

TEST(Curvature, sphere_with_outward_faces_curves_by_one_over_radius)
{
    TriMesh mesh = make_icosphere(4, 2.0f);
    mesh.ensure_curvatures();
    ASSERT_EQ(mesh.principal_curv1.size(), mesh.vertices.size());
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        EXPECT_NEAR(mesh.principal_curv1[i], 0.5f, 0.02f);
        EXPECT_NEAR(mesh.principal_curv2[i], 0.5f, 0.02f);
        EXPECT_GE(std::abs(mesh.principal_curv1[i]), std::abs(mesh.principal_curv2[i]));
        // The directions span the tangent plane.
        EXPECT_NEAR(dot(mesh.principal_dir1[i], mesh.normals[i]), 0.0f, 1e-4f);
        EXPECT_NEAR(len(mesh.principal_dir1[i]), 1.0f, 1e-4f);
        EXPECT_NEAR(dot(mesh.principal_dir1[i], mesh.principal_dir2[i]), 0.0f, 1e-4f);
    }
}

TEST(Curvature, sphere_with_inward_faces_curves_by_minus_one_over_radius)
{
    TriMesh mesh = make_icosphere(4, 2.0f);
    for (Face &f : mesh.faces)
        std::swap(f[1], f[2]);
    mesh.ensure_curvatures();
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        EXPECT_NEAR(mesh.principal_curv1[i], -0.5f, 0.02f);
        EXPECT_NEAR(mesh.principal_curv2[i], -0.5f, 0.02f);
    }
}

TEST(Curvature, cylinder_curves_around_and_not_along)
{
    // A cylinder of radius 1 along z, 64 segments, outward faces.
    const int n = 64, rings = 9;
    TriMesh mesh;
    for (int k = 0; k < rings; k++)
        for (int i = 0; i < n; i++) {
            const float a = 2.0f * std::numbers::pi_v<float> * float(i) / float(n);
            mesh.vertices.emplace_back(std::cos(a), std::sin(a), 0.1f * float(k));
        }
    for (int k = 0; k + 1 < rings; k++)
        for (int i = 0; i < n; i++) {
            const int a = k * n + i, b = k * n + (i + 1) % n;
            mesh.faces.emplace_back(a, b, b + n);
            mesh.faces.emplace_back(a, b + n, a + n);
        }
    mesh.ensure_curvatures();
    const int v = 4 * n + 5;  // a vertex of the middle ring
    EXPECT_NEAR(mesh.principal_curv1[v], 1.0f, 0.02f);
    EXPECT_NEAR(mesh.principal_curv2[v], 0.0f, 0.02f);
    EXPECT_NEAR(std::abs(mesh.principal_dir2[v].z), 1.0f, 1e-3f);
}

TEST(Curvature, degenerate_faces_give_no_nan)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0),
                              Point3(0, 1, 0)},
                             {Face(0, 1, 2), Face(0, 2, 3), Face(0, 2, 4)});
    mesh.ensure_curvatures();
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        EXPECT_TRUE(std::isfinite(mesh.principal_curv1[i]));
        EXPECT_TRUE(std::isfinite(mesh.principal_curv2[i]));
        EXPECT_TRUE(std::isfinite(len(mesh.principal_dir1[i])));
    }
}

TEST(DiagonalizeCurvature, orders_by_magnitude_and_turns_the_directions)
{
    Point3 d1, d2;
    float k1, k2;
    // Diagonal tensor: the larger curvature lies along v.
    diagonalize_curvature(Point3(1, 0, 0), Point3(0, 1, 0), 1, 0, -3, Point3(0, 0, 1), d1, d2, k1,
                          k2);
    EXPECT_FLOAT_EQ(k1, -3);
    EXPECT_FLOAT_EQ(k2, 1);
    EXPECT_NEAR(std::abs(d1.y), 1, 1e-6f);
    EXPECT_EQ(d2, cross(Point3(0, 0, 1), d1));
    // A mixed term of 1 on a zero diagonal: curvatures +-1 along the diagonals.
    diagonalize_curvature(Point3(1, 0, 0), Point3(0, 1, 0), 0, 1, 0, Point3(0, 0, 1), d1, d2, k1,
                          k2);
    EXPECT_FLOAT_EQ(std::abs(k1), 1);
    EXPECT_FLOAT_EQ(k1 + k2, 0);
    EXPECT_NEAR(std::abs(d1.x), std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(std::abs(d1.y), std::sqrt(0.5f), 1e-6f);
}

TEST(ProjectCurvature, rotating_the_frame_by_a_right_angle_swaps_the_entries)
{
    float ku, kuv, kv;
    project_curvature(Point3(1, 0, 0), Point3(0, 1, 0), 2, 0.5f, 7, Point3(0, 1, 0),
                      Point3(-1, 0, 0), ku, kuv, kv);
    EXPECT_FLOAT_EQ(ku, 7);
    EXPECT_FLOAT_EQ(kuv, -0.5f);
    EXPECT_FLOAT_EQ(kv, 2);
}

TEST(ProjectCurvature, given_frame_normals_give_the_same_bits)
{
    uint32_t state = 7;
    const auto number = [&] {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1 << 24) * 2.0f - 1.0f;
    };
    const auto point = [&] { return Point3{number(), number(), number()}; };
    // A frame (u, v) turned about a random normal.
    const auto frame = [&](Point3 &u, Point3 &v) {
        Point3 n = point();
        u = point();
        normalize(u);
        v = cross(normalize(n), u);
    };
    for (int trial = 0; trial < 100; trial++) {
        Point3 u, v, new_u, new_v;
        frame(u, v);
        frame(new_u, new_v);
        const float ku = number(), kuv = number(), kv = number();
        float a[3], b[3];
        project_curvature(u, v, ku, kuv, kv, new_u, new_v, a[0], a[1], a[2]);
        project_curvature(u, v, cross(u, v), ku, kuv, kv, new_u, new_v, cross(new_u, new_v), b[0], b[1], b[2]);
        for (int k = 0; k < 3; k++)
            EXPECT_EQ(a[k], b[k]) << trial;
    }
}
