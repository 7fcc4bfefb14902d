#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <utility>

#include "TriMesh.h"
#include "curvature.h"
#include "lineqn.h"
#include "test_support.h"

namespace {

// An icosahedron subdivided `levels` times and projected onto the sphere of
// radius r about the origin; faces are counter-clockwise seen from outside.
TriMesh sphere(float r, int levels)
{
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    TriMesh mesh = make_mesh(
        {Point3(-1, t, 0), Point3(1, t, 0), Point3(-1, -t, 0), Point3(1, -t, 0), Point3(0, -1, t),
         Point3(0, 1, t), Point3(0, -1, -t), Point3(0, 1, -t), Point3(t, 0, -1), Point3(t, 0, 1),
         Point3(-t, 0, -1), Point3(-t, 0, 1)},
        {Face(0, 11, 5), Face(0, 5, 1), Face(0, 1, 7), Face(0, 7, 10), Face(0, 10, 11),
         Face(1, 5, 9), Face(5, 11, 4), Face(11, 10, 2), Face(10, 7, 6), Face(7, 1, 8),
         Face(3, 9, 4), Face(3, 4, 2), Face(3, 2, 6), Face(3, 6, 8), Face(3, 8, 9),
         Face(4, 9, 5), Face(2, 4, 11), Face(6, 2, 10), Face(8, 6, 7), Face(9, 8, 1)});
    for (int l = 0; l < levels; l++) {
        std::map<std::pair<int, int>, int> midpoints;
        auto midpoint = [&](int a, int b) {
            const auto key = std::minmax(a, b);
            const auto it = midpoints.find(key);
            if (it != midpoints.end())
                return it->second;
            mesh.vertices.push_back(0.5f * (mesh.vertices[a] + mesh.vertices[b]));
            return midpoints[key] = int(mesh.vertices.size()) - 1;
        };
        std::vector<Face> faces;
        for (const Face &f : mesh.faces) {
            const int a = midpoint(f[0], f[1]), b = midpoint(f[1], f[2]), c = midpoint(f[2], f[0]);
            faces.insert(faces.end(), {Face(f[0], a, c), Face(f[1], b, a), Face(f[2], c, b),
                                       Face(a, b, c)});
        }
        mesh.faces = faces;
    }
    for (Point3 &p : mesh.vertices)
        p = r * normalize(p);
    return mesh;
}

} // namespace

TEST(Curvature, sphere_with_outward_faces_curves_by_one_over_radius)
{
    TriMesh mesh = sphere(2.0f, 4);
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
    TriMesh mesh = sphere(2.0f, 4);
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
