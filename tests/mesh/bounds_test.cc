#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "TriMesh.h"
#include "test_support.h"

namespace {

// The bounding sphere of the points, checked to hold every one of them.
BoundingSphere sphere_of(const std::vector<Point3> &points)
{
    TriMesh m = make_mesh(points);
    m.ensure_bounding_sphere();
    const BoundingSphere &s = m.bounding_sphere;
    EXPECT_TRUE(s.valid);
    for (const Point3 &p : points)
        EXPECT_LE(len(p - s.center), s.radius * (1 + 1e-5f) + 1e-6f);
    return s;
}

void expect_ball(const BoundingSphere &s, const Point3 &center, float radius, float tol = 1e-6f)
{
    EXPECT_NEAR(len(s.center - center), 0.0f, tol);
    EXPECT_NEAR(s.radius, radius, tol);
}

} // namespace

TEST(BoundingBox, spans_the_vertices_and_logs_them)
{
    TriMesh m = make_mesh({{1, 5, -2}, {-3, 2, 0}, {0, 7, 1}});
    EXPECT_EQ(stderr_of([&] { m.ensure_bounding_box(); m.ensure_bounding_box(); }),
              "Computing bounding box... Done.\n  x = -3 .. 1, y = 2 .. 7, z = -2 .. 1\n");
    EXPECT_EQ(m.bounding_box.min, Point3(-3, 2, -2));
    EXPECT_EQ(m.bounding_box.max, Point3(1, 7, 1));

    TriMesh empty;
    EXPECT_EQ(stderr_of([&] { empty.ensure_bounding_box(); empty.ensure_bounding_sphere(); }), "");
    EXPECT_FALSE(empty.bounding_box.valid || empty.bounding_sphere.valid);
}

TEST(BoundingBox, and_sphere_of_one_vertex_are_that_point)
{
    TriMesh m = make_mesh({{2, 3, 4}});
    m.ensure_bounding_box();
    EXPECT_EQ(stderr_of([&] { m.ensure_bounding_sphere(); }),
              "Computing bounding sphere... Done.\n  center = (2, 3, 4), radius = 0\n");
    EXPECT_EQ(m.bounding_box.min, Point3(2, 3, 4));
    EXPECT_EQ(m.bounding_box.max, Point3(2, 3, 4));
    EXPECT_EQ(m.bounding_sphere.center, Point3(2, 3, 4));
    EXPECT_EQ(m.bounding_sphere.radius, 0.0f);
}

TEST(BoundingSphere, of_degenerate_sets_is_smallest)
{
    expect_ball(sphere_of(std::vector<Point3>(5, Point3(1, 1, 1))), {1, 1, 1}, 0);
    expect_ball(sphere_of({{0, 0, 0}, {1, 0, 0}, {4, 0, 0}, {2, 0, 0}, {3, 0, 0}}), {2, 0, 0}, 2);
    expect_ball(sphere_of({{1, 1, 0}, {-1, 1, 0}, {0, 0, 0}, {-1, -1, 0}, {1, -1, 0}}), {0, 0, 0},
                std::sqrt(2.0f));
    // An obtuse triangle: the ball spans its long edge, not its circumcircle.
    expect_ball(sphere_of({{0, 0, 0}, {4, 0, 0}, {2, 1, 0}}), {2, 0, 0}, 2);
    // A regular tetrahedron needs all four points on the sphere.
    expect_ball(sphere_of({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}), {0, 0, 0},
                std::sqrt(3.0f));
}

TEST(BoundingSphere, of_large_random_sets_encloses_every_point)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-1, 1);
    std::vector<Point3> box, shell;
    for (int i = 0; i < 100000; i++)
        box.emplace_back(100 + 3 * u(rng), -50 + u(rng), 2 * u(rng));
    EXPECT_LE(sphere_of(box).radius, std::sqrt(14.0f));

    // Points on a sphere of radius 5 around (1, 2, 3): the ball is that sphere.
    while (shell.size() < 20000) {
        const Point3 d(u(rng), u(rng), u(rng));
        if (len2(d) > 0.01f && len2(d) <= 1)
            shell.push_back(Point3(1, 2, 3) + 5 * (d / len(d)));
    }
    expect_ball(sphere_of(shell), {1, 2, 3}, 5, 1e-3f);
}
