#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "displace.h"
#include "shape_meshes.h"
#include "test_support.h"

TEST(Displace, offset_moves_along_the_normals_and_keeps_them)
{
    TriMesh mesh = make_grid_mesh(3);
    offset_along_normals(mesh, 0.5f);
    for (const Point3 &p : mesh.vertices)
        EXPECT_FLOAT_EQ(p.z, 0.5f);
    ASSERT_EQ(mesh.normals.size(), mesh.vertices.size());
    EXPECT_EQ(mesh.normals[0], Point3(0, 0, 1));
}

TEST(Displace, an_endless_offset_changes_nothing_with_a_note)
{
    TriMesh mesh = make_grid_mesh(3);
    const std::string log =
        stderr_of([&] { offset_along_normals(mesh, std::numeric_limits<float>::infinity()); });
    EXPECT_EQ(mesh.vertices, make_grid_mesh(3).vertices);
    EXPECT_NE(log.find("cannot be used"), std::string::npos);
}

TEST(Displace, noise_stays_within_twice_its_amplitude_and_differs_from_call_to_call)
{
    const TriMesh start = make_sphere(2);
    TriMesh first = start, second = start;
    noise_displace(first, 0.05f);
    noise_displace(second, 0.05f);
    EXPECT_NE(first.vertices, second.vertices);
    int moved = 0;
    for (size_t v = 0; v < start.vertices.size(); v++) {
        EXPECT_LE(len(first.vertices[v] - start.vertices[v]), 0.1f);
        moved += first.vertices[v] != start.vertices[v];
    }
    EXPECT_GT(moved, int(start.vertices.size()) / 2);
    EXPECT_TRUE(first.normals.empty());
    EXPECT_EQ(invariant_violation(first), "");
}

TEST(Displace, noise_of_zero_or_less_changes_nothing_with_a_note)
{
    TriMesh mesh = make_sphere(1);
    const std::string log = stderr_of([&] {
        noise_displace(mesh, 0.0f);
        noise_displace(mesh, -1.0f);
    });
    EXPECT_EQ(mesh.vertices, make_sphere(1).vertices);
    EXPECT_NE(log.find("Noise: amplitude 0 cannot be used"), std::string::npos) << log;
}

TEST(Displace, noise_on_coincident_vertices_stays_finite)
{
    TriMesh mesh = make_mesh(
        {Point3(1, 1, 1), Point3(1, 1, 1), Point3(1, 1, 1), Point3(2, 1, 1), Point3(4, 4, 4)},
        {Face(0, 1, 2), Face(0, 2, 3)});
    noise_displace(mesh, 1e-30f);
    noise_displace(mesh, 0.5f);
    EXPECT_TRUE(all_finite(mesh));
}
