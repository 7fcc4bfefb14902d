#include <gtest/gtest.h>

#include <cmath>

#include "bilateral.h"
#include "gaussian_smooth.h"
#include "shape_meshes.h"
#include "test_support.h"

namespace {

// A roof: a 9 x 9 grid folded along the ridge x = 4, which stands 2 high.
TriMesh make_roof()
{
    TriMesh mesh = make_grid_mesh(9);
    for (Point3 &p : mesh.vertices)
        p.z = 2.0f - 0.5f * std::fabs(p.x - 4.0f);
    return mesh;
}

} // namespace

TEST(BilateralSmooth, keeps_a_plane_flat)
{
    TriMesh mesh = make_grid_mesh(6);
    bilateral_smooth(mesh, 2.0f, 1.0f);
    for (const Point3 &p : mesh.vertices)
        EXPECT_EQ(p.z, 0.0f);
    EXPECT_TRUE(all_finite(mesh));
}

TEST(BilateralSmooth, lowers_the_noise_of_a_noisy_plane)
{
    TriMesh mesh = make_grid_mesh(20);
    for (size_t v = 0; v < mesh.vertices.size(); v++)
        mesh.vertices[v].z = 0.1f * float(int((v * 7919) % 11) - 5) / 5.0f;
    const auto spread = [&] {
        double sum = 0;
        for (const Point3 &p : mesh.vertices)
            sum += double(p.z) * p.z;
        return sum / double(mesh.vertices.size());
    };
    mesh.ensure_normals();
    mesh.ensure_bounding_box();
    const double before = spread();
    bilateral_smooth(mesh, 2.0f, 1.0f);
    EXPECT_LT(spread(), 0.25 * before);
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_FALSE(mesh.bounding_box.valid);
    EXPECT_EQ(invariant_violation(mesh), "");
}

TEST(BilateralSmooth, keeps_a_ridge_better_than_gaussian_smoothing)
{
    TriMesh bilateral = make_roof(), gaussian = make_roof();
    bilateral_smooth(bilateral, 2.0f, 0.2f);
    gaussian_smooth(gaussian, 2.0f);
    const int ridge = 4 * 9 + 4;
    EXPECT_GT(bilateral.vertices[ridge].z, gaussian.vertices[ridge].z);
    EXPECT_GT(bilateral.vertices[ridge].z, 1.8f);
}

TEST(BilateralSmooth, widths_of_zero_or_less_change_nothing_with_a_note)
{
    TriMesh mesh = make_roof();
    const std::vector<Point3> before = mesh.vertices;
    const std::string log = stderr_of([&] {
        bilateral_smooth(mesh, 0.0f, 1.0f);
        bilateral_smooth(mesh, 1.0f, -2.0f);
    });
    EXPECT_EQ(mesh.vertices, before);
    EXPECT_NE(log.find("width 0 cannot be used"), std::string::npos) << log;
    EXPECT_NE(log.find("width -2 cannot be used"), std::string::npos) << log;
}

TEST(BilateralSmooth, degenerate_meshes_give_finite_positions)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0), Point3(1, 1, 0),
                              Point3(1, 1, 0), Point3(1, 1, 0), Point3(5, 5, 5)},
                             {Face(0, 1, 2), Face(3, 4, 5), Face(4, 4, 5), Face(0, 1, 3)});
    bilateral_smooth(mesh, 1.0f, 1.0f);
    EXPECT_TRUE(all_finite(mesh));
    EXPECT_EQ(mesh.vertices.back(), Point3(5, 5, 5));
}
