// The curvature feature size, curvature smoothing, "shape" and "ao".

#include <gtest/gtest.h>

#include "bake_test_support.h"
#include "curvature.h"
#include "curvature_colourings.h"
#include "curvature_smoothing.h"
#include "hsv_colour.h"

TEST(CurvatureFeatureSize, is_a_hundredth_of_the_radius_on_a_sphere_and_smoothing_keeps_the_curvature)
{
    TriMesh mesh = make_icosphere(4, 2);
    float size = 0;
    const std::string err = stderr_of([&] { size = curvature_feature_size(mesh); });
    EXPECT_NEAR(size, 0.02f, 0.002f);
    EXPECT_NE(err.find("Feature size = " + std::to_string(size) + "\n"), std::string::npos) << err;
    const std::vector<float> before = mesh.principal_curv1;
    stderr_of([&] { smooth_curvatures(mesh, 3 * mesh.median_edge_length()); });
    for (size_t i = 0; i < before.size(); i++)
        EXPECT_NEAR(mesh.principal_curv1[i], before[i], 0.005f) << i;
}

TEST(SmoothCurvatures, matches_the_plain_fill_in_stack_order_to_the_bit)
{
    TriMesh mesh = quadric_patch(40, 0.02f, -0.01f), plain;
    stderr_of([&] { mesh.ensure_curvatures(); });
    mesh.ensure_vertex_neighbors();
    plain = mesh;
    const float w2 = 1 / (1.5f * 1.5f);
    std::vector<uint32_t> marks(mesh.vertices.size(), 0);
    for (size_t i = 0; i < marks.size(); i++) {
        const auto project = [&](size_t j, float t[3]) {
            project_curvature(mesh.principal_dir1[j], mesh.principal_dir2[j], mesh.principal_curv1[j], 0,
                              mesh.principal_curv2[j], mesh.principal_dir1[i], mesh.principal_dir2[i], t[0], t[1],
                              t[2]);
        };
        float s[3], t[3], total = mesh.point_areas[i];
        project(i, s);
        for (float &x : s)
            x *= total;
        std::vector<int> stack(mesh.vertex_neighbors[i].begin(), mesh.vertex_neighbors[i].end());
        marks[i] = uint32_t(i + 1);
        while (!stack.empty()) {
            const int j = stack.back();
            stack.pop_back();
            const float c = dot(mesh.normals[i], mesh.normals[j]), d2w = dist2(mesh.vertices[i], mesh.vertices[j]) * w2;
            if (std::exchange(marks[j], uint32_t(i + 1)) == i + 1 || !(c > 0) || !(d2w < 9))
                continue;
            const float w = std::exp(-0.5f * d2w) * c * mesh.point_areas[j];
            project(size_t(j), t);
            for (int k = 0; k < 3; k++)
                s[k] += w * t[k];
            total += w;
            for (const int k : mesh.vertex_neighbors[j])
                if (marks[k] != i + 1)
                    stack.push_back(k);
        }
        diagonalize_curvature(mesh.principal_dir1[i], mesh.principal_dir2[i], s[0] / total, s[1] / total, s[2] / total,
                              mesh.normals[i], plain.principal_dir1[i], plain.principal_dir2[i],
                              plain.principal_curv1[i], plain.principal_curv2[i]);
    }
    stderr_of([&] { smooth_curvatures(mesh, 1.5f); });
    EXPECT_EQ(mesh.principal_curv1, plain.principal_curv1);
    EXPECT_EQ(mesh.principal_curv2, plain.principal_curv2);
    EXPECT_EQ(mesh.principal_dir1, plain.principal_dir1);
}

TEST(CurvatureShading, gives_grey_for_scale_zero_red_on_spheres_and_green_on_saddles)
{
    enum Look { grey, red, green };
    // On a sphere of radius 2 the scale, 10 feature sizes, is 0.2: scale^2 (2 H^2 - K) = 0.01.
    const Color sphere_red = hsv_to_rgb(0, 6.2831855f * std::atan(0.01f), 1);
    const struct {
        const char *name;
        TriMesh mesh;
        double scale, smoothing;
        Look look;
        size_t vertex;
    } cases[] = {{"ao 0 0, sphere", coloured(make_icosphere(4, 2)), 0, 0, grey, 0},
                 {"ao 0 0, saddle", quadric_patch(9, 0.1f, -0.1f), 0, 0, grey, 40},
                 {"shape 1 0, sphere", coloured(make_icosphere(4, 2)), 1, 0, red, 0},
                 {"shape 1 1, sphere", coloured(make_icosphere(4, 2)), 1, 1, red, 100},
                 {"shape 1 0, saddle", quadric_patch(21, 0.1f, -0.1f), 1, 0, green, 220}};
    for (auto c : cases) {
        const std::string err = stderr_of([&] {
            EXPECT_TRUE(c.look == grey ? bake_mean_curvature_shading(c.mesh, c.scale, c.smoothing)
                                       : bake_shape(c.mesh, c.scale, c.smoothing));
        });
        EXPECT_EQ(err.find("Smoothing curvatures") != std::string::npos, c.smoothing > 0) << c.name;
        const Color colour = c.mesh.colors[c.vertex];
        // Green: full green, red and blue alike below it.
        const bool looks = c.look == grey  ? colour == Color(0.5f, 0.5f, 0.5f)
                           : c.look == red ? near(colour, sphere_red, 0.01f)
                                           : colour.g == 1 && std::abs(colour.r - colour.b) < 0.01f && colour.r < 0.99f;
        EXPECT_TRUE(looks) << c.name << ": " << testing::PrintToString(colour);
    }
}
