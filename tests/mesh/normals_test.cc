#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TriMesh.h"
#include "test_support.h"

namespace {

void expect_point_near(const Point3 &a, const Point3 &b, float tol = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

bool finite_unit(const Point3 &n)
{
    return std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z) &&
           std::abs(len(n) - 1.0f) < 1e-5f;
}

// A 5 x 5 grid of points in a plane through the origin with normal direction
// (a, b, 1), without faces.
TriMesh plane_cloud(float a, float b)
{
    TriMesh cloud;
    for (int y = -2; y <= 2; y++)
        for (int x = -2; x <= 2; x++)
            cloud.vertices.emplace_back(float(x), float(y), -(a * x + b * y));
    return cloud;
}

} // namespace

TEST(Normals, triangle_normals_face_the_counter_clockwise_side)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {Face(0, 1, 2)});
    mesh.ensure_normals();
    ASSERT_EQ(mesh.normals.size(), 3u);
    for (const Point3 &n : mesh.normals)
        expect_point_near(n, Point3(0, 0, 1));
}

TEST(Normals, weigh_small_sharp_faces_most)
{
    // Vertex 0 is shared by a large face in z = 0 and a small one in x = 0;
    // the small face dominates.
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(10, 0, 0), Point3(0, 10, 0),
                              Point3(0, 0.1f, 0), Point3(0, 0, 0.1f)},
                             {Face(0, 1, 2), Face(0, 3, 4)});
    mesh.ensure_normals();
    EXPECT_GT(mesh.normals[0].x, 0.99f);
}

TEST(Normals, strips_alternate_winding_like_the_faces_they_encode)
{
    // A row of four triangles in z = 0; every face is counter-clockwise.
    const std::vector<Point3> v = {Point3(0, 0, 0), Point3(0, 1, 0), Point3(1, 0, 0),
                                   Point3(1, 1.5f, 0), Point3(2, 0, 0), Point3(2, 1, 0)};
    TriMesh strips = make_mesh(v);
    strips.tristrips = {6, 1, 0, 3, 2, 5, 4};
    strips.ensure_normals();
    for (const Point3 &n : strips.normals)
        expect_point_near(n, Point3(0, 0, 1));

    TriMesh faces = make_mesh(v);
    faces.tristrips = strips.tristrips;
    faces.ensure_faces();
    faces.tristrips.clear();
    faces.ensure_normals();
    for (size_t i = 0; i < v.size(); i++)
        expect_point_near(faces.normals[i], strips.normals[i]);
}

TEST(Normals, short_and_overlong_strips_are_stepped_over)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(5, 5, 5)});
    // Counts 2, 0, 1 and -4 make no triangle; the last count runs past the end.
    mesh.tristrips = {2, 0, 1, 0, 1, 3, -4, 3, 0, 1, 2, 9, 0, 1};
    mesh.ensure_normals();
    ASSERT_EQ(mesh.normals.size(), 4u);
    for (int i = 0; i < 3; i++)
        expect_point_near(mesh.normals[i], Point3(0, 0, 1));
    EXPECT_TRUE(finite_unit(mesh.normals[3]));
}

TEST(Normals, normals_already_present_are_kept_silently)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {Face(0, 1, 2)});
    mesh.normals = {Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, 0, -1)};
    testing::internal::CaptureStderr();
    mesh.ensure_normals();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(mesh.normals[2], Point3(0, 0, -1));
}

TEST(Normals, flat_point_cloud_normals_point_up)
{
    for (const float tilt : {0.0f, 0.5f, -0.5f}) {
        TriMesh cloud = plane_cloud(tilt, 0.25f);
        cloud.ensure_normals();
        Point3 expected(tilt, 0.25f, 1.0f);
        expected = expected / len(expected);
        for (const Point3 &n : cloud.normals)
            expect_point_near(n, expected, 1e-4f);
    }
}

TEST(Normals, point_cloud_fits_the_plane_of_twelve_nearest_points)
{
    // Vertex 0 has twelve neighbours in z = 0 within distance 2; the points
    // above the plane are farther and must not tilt its normal.
    TriMesh cloud = make_mesh({Point3(0, 0, 0)});
    for (int y = -1; y <= 1; y++)
        for (int x = -1; x <= 1; x++)
            if (x || y)
                cloud.vertices.emplace_back(float(x), float(y), 0);
    for (const Point3 &p : {Point3(2, 0, 0), Point3(-2, 0, 0), Point3(0, 2, 0), Point3(0, -2, 0),
                            Point3(2.1f, 0.5f, 1), Point3(0.5f, 2.1f, 1), Point3(-2.1f, 0.5f, 1)})
        cloud.vertices.push_back(p);
    cloud.ensure_normals();
    EXPECT_EQ(cloud.normals[0], Point3(0, 0, 1));
}

TEST(Normals, point_cloud_of_three_points_warns_and_points_up)
{
    TriMesh cloud = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 1)});
    testing::internal::CaptureStderr();
    cloud.ensure_normals();
    const std::string err = testing::internal::GetCapturedStderr();
    for (int i = 0; i < 3; i++) {
        EXPECT_NE(err.find("Warning: not enough points for vertex " + std::to_string(i) + "\n"),
                  std::string::npos);
        EXPECT_EQ(cloud.normals[i], Point3(0, 0, 1));
    }
}

TEST(Normals, degenerate_faces_and_clouds_give_no_nan)
{
    // Coincident corners, a zero-area face, and an unused vertex.
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0),
                              Point3(0, 1, 0), Point3(7, 7, 7)},
                             {Face(0, 1, 2), Face(0, 2, 3), Face(0, 0, 0), Face(0, 2, 4)});
    mesh.ensure_normals();
    for (const Point3 &n : mesh.normals)
        EXPECT_TRUE(finite_unit(n));
    expect_point_near(mesh.normals[4], Point3(0, 0, 1));

    TriMesh same = make_mesh(std::vector<Point3>(20, Point3(3, 3, 3)));
    testing::internal::CaptureStderr();
    same.ensure_normals();
    testing::internal::GetCapturedStderr();
    for (const Point3 &n : same.normals)
        EXPECT_TRUE(finite_unit(n));
}
