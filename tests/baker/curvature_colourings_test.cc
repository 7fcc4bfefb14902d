// The curvature feature size, curvature smoothing, "shape" and "ao".

#include <gtest/gtest.h>

#include <cmath>

#include "bake_test_support.h"
#include "curvature.h"
#include "curvature_colourings.h"
#include "curvature_smoothing.h"
#include "hsv_colour.h"

namespace {

// Vertices of a sphere's mesh, by index, that are regular enough for exact
// expectations: all of them on an icosphere.
const float radius = 2.0f;

TriMesh sphere()
{
    TriMesh mesh = make_icosphere(4, radius);
    size_colours(mesh);
    return mesh;
}

} // namespace

TEST(CurvatureFeatureSize, is_a_hundredth_of_the_radius_on_a_sphere)
{
    TriMesh mesh = sphere();
    float size = 0;
    const std::string err = stderr_of([&] { size = curvature_feature_size(mesh); });
    EXPECT_NEAR(size, 0.01f * radius, 0.001f * radius);
    char line[64];
    std::snprintf(line, sizeof line, "Feature size = %f\n", double(size));
    EXPECT_NE(err.find(line), std::string::npos) << err;
}

TEST(CurvatureFeatureSize, falls_back_to_the_bounding_radius_where_most_is_flat)
{
    TriMesh mesh = make_grid_mesh(5);  // flat: every curvature is 0
    float size = 0;
    stderr_of([&] { size = curvature_feature_size(mesh); });
    ASSERT_TRUE(mesh.bounding_sphere.valid);
    EXPECT_EQ(size, mesh.bounding_sphere.radius);
    EXPECT_NEAR(size, std::sqrt(8.0f), 1e-4f);
}

TEST(SmoothCurvatures, leaves_a_spheres_curvature_unchanged)
{
    TriMesh mesh = sphere();
    stderr_of([&] { mesh.ensure_curvatures(); });
    const std::vector<float> before1 = mesh.principal_curv1, before2 = mesh.principal_curv2;
    const std::string err = stderr_of([&] { smooth_curvatures(mesh, 3 * mesh.median_edge_length()); });
    EXPECT_NE(err.find("Smoothing curvatures... Done."), std::string::npos) << err;
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        EXPECT_NEAR(mesh.principal_curv1[i], before1[i], 0.01f / radius) << i;
        EXPECT_NEAR(mesh.principal_curv2[i], before2[i], 0.01f / radius) << i;
        EXPECT_NEAR(mesh.principal_curv1[i], 1 / radius, 0.02f / radius) << i;
    }
}

TEST(SmoothCurvatures, evens_out_a_roughened_sphere)
{
    TriMesh mesh = sphere();
    uint32_t state = 1;
    for (Point3 &p : mesh.vertices) {
        state = state * 1664525u + 1013904223u;
        p *= 1 + 0.01f * (float(state >> 8) / float(1 << 24) - 0.5f);
    }
    const auto spread = [&] {
        double sum = 0, sum2 = 0;
        for (const float k : mesh.principal_curv1) {
            sum += k;
            sum2 += double(k) * k;
        }
        const double n = double(mesh.vertices.size()), mean = sum / n;
        return std::sqrt(sum2 / n - mean * mean) / mean;
    };
    stderr_of([&] { mesh.ensure_curvatures(); });
    const double before = spread();
    stderr_of([&] { smooth_curvatures(mesh, 2 * mesh.median_edge_length()); });
    EXPECT_LT(spread(), 0.25 * before);
}

TEST(SmoothCurvatures, computes_exactly_the_plain_fill_in_stack_order)
{
    // The smoothing written out as plainly as it is defined, one vertex at a
    // time with the record's visit marks; the fast one must match it to the bit.
    TriMesh mesh = make_quadric_patch(40, 0.02f, -0.01f);
    stderr_of([&] { mesh.ensure_curvatures(); });
    mesh.ensure_vertex_neighbors();
    const float sigma = 1.5f, w2 = 1 / (sigma * sigma);
    const size_t nv = mesh.vertices.size();
    TriMesh expected = mesh;
    mesh.visit_marks.assign(nv, 0);
    for (size_t i = 0; i < nv; i++) {
        float s[3], own[3];
        project_curvature(mesh.principal_dir1[i], mesh.principal_dir2[i], mesh.principal_curv1[i], 0,
                          mesh.principal_curv2[i], mesh.principal_dir1[i], mesh.principal_dir2[i], own[0], own[1],
                          own[2]);
        float total = mesh.point_areas[i];
        for (int k = 0; k < 3; k++)
            s[k] = own[k] * total;
        std::vector<int> stack(mesh.vertex_neighbors[i].begin(), mesh.vertex_neighbors[i].end());
        mesh.visit_marks[i] = ++mesh.visit_stamp;
        while (!stack.empty()) {
            const int j = stack.back();
            stack.pop_back();
            if (mesh.visit_marks[j] == mesh.visit_stamp)
                continue;
            mesh.visit_marks[j] = mesh.visit_stamp;
            const float c = dot(mesh.normals[i], mesh.normals[j]);
            const float d2w = dist2(mesh.vertices[i], mesh.vertices[j]) * w2;
            if (!(c > 0) || !(d2w < 9))
                continue;
            const float w = std::exp(-0.5f * d2w) * c * mesh.point_areas[j];
            float t[3];
            project_curvature(mesh.principal_dir1[j], mesh.principal_dir2[j], mesh.principal_curv1[j], 0,
                              mesh.principal_curv2[j], mesh.principal_dir1[i], mesh.principal_dir2[i], t[0], t[1],
                              t[2]);
            for (int k = 0; k < 3; k++)
                s[k] += w * t[k];
            total += w;
            for (const int k : mesh.vertex_neighbors[j])
                if (mesh.visit_marks[k] != mesh.visit_stamp)
                    stack.push_back(k);
        }
        diagonalize_curvature(mesh.principal_dir1[i], mesh.principal_dir2[i], s[0] / total, s[1] / total,
                              s[2] / total, mesh.normals[i], expected.principal_dir1[i], expected.principal_dir2[i],
                              expected.principal_curv1[i], expected.principal_curv2[i]);
    }
    stderr_of([&] { smooth_curvatures(mesh, sigma); });
    EXPECT_EQ(mesh.principal_curv1, expected.principal_curv1);
    EXPECT_EQ(mesh.principal_curv2, expected.principal_curv2);
    EXPECT_EQ(mesh.principal_dir1, expected.principal_dir1);
    EXPECT_EQ(mesh.principal_dir2, expected.principal_dir2);
}

TEST(MeanCurvatureShading, gives_half_grey_for_scale_zero_without_smoothing)
{
    for (TriMesh mesh : {sphere(), make_quadric_patch(9, 0.1f, -0.1f)}) {
        size_colours(mesh);
        const std::string err = stderr_of([&] { ASSERT_TRUE(bake_mean_curvature_shading(mesh, 0, 0)); });
        EXPECT_EQ(err.find("Smoothing"), std::string::npos) << err;
        EXPECT_NE(err.find("Using scale = 0.000000\n"), std::string::npos) << err;
        for (const Color &c : mesh.colors)
            EXPECT_EQ(c, Color(0.5f, 0.5f, 0.5f));
    }
}

TEST(MeanCurvatureShading, turns_lighter_on_a_sphere_with_outward_normals)
{
    TriMesh mesh = sphere();
    stderr_of([&] { ASSERT_TRUE(bake_mean_curvature_shading(mesh, 1, 1)); });
    // scale = 10 * feature size = 0.1 radius, H = 1 / radius.
    const float expected = (std::atan(0.1f) + 1.5707964f) / 3.1415927f;
    for (const Color &c : mesh.colors)
        EXPECT_PRED3(near, c, Color(expected, expected, expected), 0.002f);
}

TEST(Shape, colours_spheres_red_and_saddles_green)
{
    const struct {
        const char *name;
        TriMesh mesh;
        size_t vertex;  // a vertex whose curvature is known
        float hue;
        float scale2_times_curvedness;  // scale^2 (2 H^2 - K) with scale = 10 feature sizes
    } cases[] = {
        // Sphere: H^2 = K = 1 / r^2, feature size r / 100.
        {"sphere", sphere(), 0, 0, 0.01f},
        // Saddle z = 0.1 x^2 - 0.1 y^2 at its centre: k = +-0.2, H = 0, K = -0.04;
        // the feature size comes from the tenth percentile of |k| over the patch.
        {"saddle", make_quadric_patch(21, 0.1f, -0.1f), 220, 6.2831855f / 3, -1},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        size_colours(c.mesh);
        std::string err = stderr_of([&] { ASSERT_TRUE(bake_shape(c.mesh, 1, 0)); });
        const Color colour = c.mesh.colors[c.vertex];
        if (c.scale2_times_curvedness > 0) {
            const float saturation = 6.2831855f * std::atan(c.scale2_times_curvedness);
            EXPECT_PRED3(near, colour, hsv_to_rgb(c.hue, saturation, 1), 0.01f);
        } else {
            // Green: full green, equal red and blue below it.
            EXPECT_FLOAT_EQ(colour.g, 1);
            EXPECT_NEAR(colour.r, colour.b, 0.01f);
            EXPECT_LT(colour.r, 0.99f);
        }
    }
}

TEST(Shape, smoothing_is_announced_and_keeps_a_sphere_red)
{
    TriMesh mesh = sphere();
    const std::string err = stderr_of([&] { ASSERT_TRUE(bake_shape(mesh, 1, 1)); });
    EXPECT_NE(err.find("Smoothing curvatures... Done.  Filtering took "), std::string::npos) << err;
    const float saturation = 6.2831855f * std::atan(0.01f);
    for (const Color &c : mesh.colors)
        EXPECT_PRED3(near, c, hsv_to_rgb(0, saturation, 1), 0.01f);
}
