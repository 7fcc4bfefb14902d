#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gaussian_smooth.h"
#include "shape_meshes.h"
#include "test_support.h"

namespace {

// A grid with one vertex that no face uses.
TriMesh grid_with_isolated_vertex()
{
    TriMesh mesh = make_grid_mesh(5);
    mesh.vertices.emplace_back(2.0f, 2.0f, 0.5f);
    return mesh;
}

// Zero-area faces, coincident corners, a face that repeats a vertex and an
// isolated vertex.
TriMesh degenerate_mesh()
{
    return make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0), Point3(1, 1, 0),
                      Point3(1, 1, 0), Point3(1, 1, 0), Point3(5, 5, 5)},
                     {Face(0, 1, 2), Face(3, 4, 5), Face(4, 4, 5), Face(0, 1, 3)});
}

} // namespace

TEST(GaussianSmooth, weight_falls_off_and_is_cut_at_three_deviations)
{
    const Point3 o(0, 0, 0);
    EXPECT_EQ(gaussian_weight(o, o, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(gaussian_weight(o, Point3(1, 0, 0), 1.0f), std::exp(-0.5f));
    EXPECT_FLOAT_EQ(gaussian_weight(o, Point3(0, 2.9f, 0), 1.0f), std::exp(-0.5f * 2.9f * 2.9f));
    EXPECT_EQ(gaussian_weight(o, Point3(0, 0, 3), 1.0f), 0.0f);
    EXPECT_EQ(gaussian_weight(o, Point3(0, 0, 1), 9.0f), 0.0f);
    EXPECT_EQ(gaussian_weight(o, o, std::numeric_limits<float>::infinity()), 0.0f);
}

TEST(GaussianSmooth, vertex_filter_weighs_by_distance_normal_and_area)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {Face(0, 1, 2)});
    mesh.normals = {Point3(0, 0, 1), Point3(0, 0, 1), Point3(0, 0.6f, 0.8f)};
    mesh.ensure_point_areas(); // 1/4, 1/8, 1/8
    mesh.ensure_vertex_neighbors();
    mesh.visit_marks.assign(3, 0);
    const std::vector<Point3> field = {Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, 0, 1)};
    FloodScratch scratch;
    const float g = std::exp(-0.5f), w1 = g * 0.125f, w2 = g * 0.8f * 0.125f;
    const Point3 expected =
        (Point3(0.25f, 0, 0) + Point3(0, w1, 0) + Point3(0, 0, w2)) / (0.25f + w1 + w2);
    const Point3 result = vertex_filter(mesh, field, 0, 1.0f, scratch);
    EXPECT_FLOAT_EQ(result.x, expected.x);
    EXPECT_FLOAT_EQ(result.y, expected.y);
    EXPECT_FLOAT_EQ(result.z, expected.z);

    // Neighbours whose normals face away add nothing.
    mesh.normals = {Point3(0, 0, 1), Point3(0, 0, -1), Point3(1, 0, 0)};
    EXPECT_EQ(vertex_filter(mesh, field, 0, 1.0f, scratch), field[0]);
}

TEST(GaussianSmooth, isolated_vertices_keep_position_and_normal)
{
    TriMesh mesh = grid_with_isolated_vertex();
    mesh.ensure_normals();
    const Point3 normal = mesh.normals.back();
    normal_smooth(mesh, 1.0f);
    EXPECT_EQ(mesh.normals.back(), normal);
    gaussian_smooth(mesh, 1.0f);
    EXPECT_EQ(mesh.vertices.back(), Point3(2.0f, 2.0f, 0.5f));
}

TEST(GaussianSmooth, a_width_that_reaches_no_neighbour_changes_nothing)
{
    TriMesh mesh = make_sphere(2);
    roughen(mesh, 0.05f);
    const std::vector<Point3> before = mesh.vertices;
    gaussian_smooth(mesh, 1e-4f);
    for (size_t v = 0; v < before.size(); v++)
        EXPECT_LT(dist2(mesh.vertices[v], before[v]), 1e-12f);
}

TEST(GaussianSmooth, smoothing_lowers_the_roughness_of_a_noisy_sphere)
{
    TriMesh mesh = make_sphere(4);
    roughen(mesh, 0.02f);
    const double before = radial_spread(mesh);
    const float width = 1.5f * mesh.median_edge_length();
    gaussian_smooth(mesh, width);
    EXPECT_LT(radial_spread(mesh), 0.25 * before);
    EXPECT_EQ(invariant_violation(mesh), "");
    // Stale derived data is gone; the smoothed normals stay.
    EXPECT_TRUE(mesh.point_areas.empty());
    EXPECT_FALSE(mesh.bounding_box.valid);
    EXPECT_EQ(mesh.normals.size(), mesh.vertices.size());
}

TEST(GaussianSmooth, sharpening_moves_away_from_the_smoothed_surface)
{
    TriMesh smooth = make_sphere(3);
    roughen(smooth, 0.03f);
    TriMesh sharp = smooth;
    const std::vector<Point3> old = smooth.vertices;
    gaussian_smooth(smooth, 0.2f);
    gaussian_sharpen(sharp, 0.2f);
    for (size_t v = 0; v < old.size(); v++) {
        const Point3 expected = smooth.vertices[v] + 2.0f * (old[v] - smooth.vertices[v]);
        EXPECT_LT(dist2(sharp.vertices[v], expected), 1e-12f);
    }
}

TEST(GaussianSmooth, widths_of_zero_or_less_change_nothing_with_a_note)
{
    for (const float width : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        TriMesh mesh = make_sphere(1);
        const std::vector<Point3> before = mesh.vertices;
        const std::string log = stderr_of([&] {
            gaussian_smooth(mesh, width);
            gaussian_sharpen(mesh, width);
            normal_smooth(mesh, width);
        });
        EXPECT_EQ(mesh.vertices, before);
        EXPECT_TRUE(mesh.normals.empty());
        EXPECT_NE(log.find("Smoothing: width"), std::string::npos) << log;
        EXPECT_NE(log.find("Sharpening: width"), std::string::npos) << log;
        EXPECT_NE(log.find("Smoothing normals: width"), std::string::npos) << log;
    }
}

TEST(GaussianSmooth, degenerate_meshes_give_finite_positions)
{
    for (const float width : {0.5f, 3.0f, 1e-30f}) {
        TriMesh mesh = degenerate_mesh();
        gaussian_smooth(mesh, width);
        EXPECT_TRUE(all_finite(mesh)) << width;
        EXPECT_EQ(mesh.vertices.back(), Point3(5, 5, 5));
        gaussian_sharpen(mesh, width);
        normal_smooth(mesh, width);
        EXPECT_TRUE(all_finite(mesh)) << width;
        for (const Point3 &n : mesh.normals)
            EXPECT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z));
    }
}

TEST(GaussianSmooth, the_visit_stamp_survives_wrapping_round)
{
    TriMesh mesh = make_sphere(2);
    roughen(mesh, 0.05f);
    mesh.ensure_normals();
    mesh.ensure_point_areas();
    mesh.ensure_vertex_neighbors();
    mesh.visit_marks.assign(mesh.vertices.size(), 0);
    TriMesh wrapped = mesh;
    // As if every vertex had been reached by the first fill of all, long ago:
    // the fills after the wrap must not take those marks for their own.
    wrapped.visit_stamp = 0xffffffffu - 1;
    wrapped.visit_marks.assign(wrapped.vertices.size(), 1);
    FloodScratch scratch;
    for (int v = 0; v < 20; v++)
        EXPECT_EQ(vertex_filter(wrapped, wrapped.vertices, v, 10.0f, scratch),
                  vertex_filter(mesh, mesh.vertices, v, 10.0f, scratch))
            << v;
}
