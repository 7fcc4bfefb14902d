// hsv_to_rgb and the colourings that need no surface analysis: "col",
// "norm", "colRemap" and "depth".

#include <gtest/gtest.h>

#include <functional>

#include "bake_test_support.h"
#include "hsv_colour.h"
#include "plain_colourings.h"

TEST(HsvToRgb, gives_the_six_sectors_and_grey_without_saturation)
{
    const float sixth = 6.2831855f / 6;
    const struct {
        float h, s, v;
        Color expected;
    } cases[] = {{0, 1, 1, {1, 0, 0}},           {2 * sixth, 1, 1, {0, 1, 0}},
                 {-2 * sixth, 1, 1, {0, 0, 1}},     {3.5f * sixth, 1, 1, {0, 0.5f, 1}},
                 {7 * sixth, 1, 1, {1, 1, 0}},      {2, 0, 0.25f, {0.25f, 0.25f, 0.25f}},
                 {0, 2, 1, {1, -1, -1}}};  // saturation above 1 is not limited
    for (const auto &c : cases)
        EXPECT_PRED3(near, hsv_to_rgb(c.h, c.s, c.v), c.expected, 1e-5f) << c.h << " " << c.s;
}

TEST(PlainColourings, give_their_known_colours)
{
    // A row of four vertices along x (rising in y too), with colours.
    TriMesh row = coloured(make_mesh({{0, 0, 0}, {1, 0.5f, 0}, {2, 1, 0}, {3, 1.5f, 0}}));
    row.colors = {{0.1f, 0.2f, 0.3f}, {0, 1, 0.5f}, {0.25f, 0.75f, 1}, {1, 1, 1}};
    const auto grey = [](float g) { return Color(g, g, g); };
    const struct {
        const char *name;
        TriMesh mesh;
        std::function<bool(TriMesh &)> bake;
        std::function<Color(size_t)> expected;
    } cases[] = {
        {"col ff8000", row, [](TriMesh &m) { return bake_uniform_colour(m, 0xff8000), true; },
         [](size_t) { return Color(1, 128 * 0.003921569f, 0); }},
        {"norm", coloured(make_grid_mesh(3)), [](TriMesh &m) { return bake_normal_colours(m), true; },
         [](size_t) { return Color(0.5f, 0.5f, 1); }},
        {"colRemap 1 0 1", row, [](TriMesh &m) { return remap_colours(m, 1, 0, 1); },
         [&](size_t i) { return row.colors[i]; }},
        {"colRemap on black", coloured(row), [](TriMesh &m) { return remap_colours(m, 3, 0.25f, 2.2f); },
         [&](size_t) { return grey(std::pow(0.25f, 1 / 2.2f)); }},
        {"depth 0 1 0 0", row, [](TriMesh &m) { return bake_depth(m, {0, 1, 0}, 0); },
         [&](size_t i) { return grey(float(i) / 3); }},
        {"depth 1 0 0 0.25", row, [](TriMesh &m) { return bake_depth(m, {1, 0, 0}, 0.25f); },
         [&](size_t i) { return grey(float(i) - 1); }},
    };
    for (auto c : cases) {
        ASSERT_TRUE(c.bake(c.mesh)) << c.name;
        for (size_t i = 0; i < c.mesh.vertices.size(); i++)
            EXPECT_PRED3(near, c.mesh.colors[i], c.expected(i), 1e-6f) << c.name << ", vertex " << i;
    }
}
