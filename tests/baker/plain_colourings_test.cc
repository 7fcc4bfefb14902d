// hsv_to_rgb and the colourings that need no surface analysis: "col",
// "norm", "colRemap" and "depth".

#include <gtest/gtest.h>

#include "bake_test_support.h"
#include "hsv_colour.h"
#include "plain_colourings.h"

namespace {

// A row of four vertices along x at 0, 1, 2, 3 (with y rising too), no faces.
TriMesh row_of_four()
{
    TriMesh mesh = make_mesh({{0, 0, 0}, {1, 0.5f, 0}, {2, 1, 0}, {3, 1.5f, 0}});
    size_colours(mesh);
    return mesh;
}

} // namespace

TEST(HsvToRgb, gives_each_sector_and_the_grey_of_no_saturation)
{
    const float sector = 6.2831855f / 6;  // 60 degrees
    const struct {
        float h, s, v;
        Color expected;
    } cases[] = {
        {0, 1, 1, {1, 0, 0}},
        {sector, 1, 1, {1, 1, 0}},
        {2 * sector, 1, 1, {0, 1, 0}},
        {3 * sector, 1, 1, {0, 1, 1}},
        {4 * sector, 1, 1, {0, 0, 1}},
        {5 * sector, 1, 1, {1, 0, 1}},
        {0.5f * sector, 1, 1, {1, 0.5f, 0}},
        {-sector, 1, 1, {1, 0, 1}},             // negative hues wrap round
        {7 * sector, 1, 1, {1, 1, 0}},          // so do hues beyond a turn
        {2, 0, 0.25f, {0.25f, 0.25f, 0.25f}},   // no saturation: grey
        {2, -1, 0.5f, {0.5f, 0.5f, 0.5f}},
        {0, 2, 1, {1, -1, -1}},                 // saturation above 1 is not limited
        {4, 0.7f, 0.7f, {0.21f, 0.2983f, 0.7f}},
    };
    for (const auto &c : cases)
        EXPECT_PRED3(near, hsv_to_rgb(c.h, c.s, c.v), c.expected, 2e-4f) << c.h << " " << c.s << " " << c.v;
}

TEST(UniformColour, gives_every_vertex_the_hexadecimal_colour)
{
    TriMesh mesh = row_of_four();
    bake_uniform_colour(mesh, 0xff8000);
    for (const Color &c : mesh.colors)
        EXPECT_EQ(c, Color(1, 128 * 0.003921569f, 0));
    bake_uniform_colour(mesh, 0x12ff0000u);  // bits above the colour are ignored
    EXPECT_EQ(mesh.colors[3], Color(1, 0, 0));
}

TEST(NormalColours, map_unit_normals_to_half_plus_half)
{
    TriMesh mesh = make_grid_mesh(3);
    size_colours(mesh);
    bake_normal_colours(mesh);
    for (const Color &c : mesh.colors)
        EXPECT_EQ(c, Color(0.5f, 0.5f, 1));
    mesh.normals[4] = Point3(-1, 0, 0);
    bake_normal_colours(mesh);
    EXPECT_EQ(mesh.colors[4], Color(0, 0.5f, 0.5f));
}

TEST(RemapColours, identity_keeps_colours_and_black_gives_the_offset_power)
{
    TriMesh mesh = row_of_four();
    const std::vector<Color> start = {{0.1f, 0.2f, 0.3f}, {0, 1, 0.5f}, {0.25f, 0.75f, 1}, {1, 1, 1}};
    mesh.colors = start;
    ASSERT_TRUE(remap_colours(mesh, 1, 0, 1));
    EXPECT_EQ(mesh.colors, start);
    ASSERT_TRUE(remap_colours(mesh, 2, 0, 0.5f));
    EXPECT_PRED3(near, mesh.colors[1], Color(0, 4, 1), 1e-6f);

    size_colours(mesh);
    ASSERT_TRUE(remap_colours(mesh, 3, 0.25f, 2.2f));
    const float expected = std::pow(0.25f, 1 / 2.2f);
    for (const Color &c : mesh.colors)
        EXPECT_EQ(c, Color(expected, expected, expected));
}

TEST(RemapColours, refuses_gamma_zero_and_results_that_are_not_numbers)
{
    const struct {
        float scale, offset, gamma;
        const char *message;
    } cases[] = {
        {1, 0, 0, "gamma 0"},
        {1, -0.5f, 2.2f, "not a finite number"},  // negative base, fractional exponent
        {1, 0, -1, "not a finite number"},        // 0 to a negative power
    };
    for (const auto &c : cases) {
        TriMesh mesh = row_of_four();
        const std::string err = stderr_of([&] { EXPECT_FALSE(remap_colours(mesh, c.scale, c.offset, c.gamma)); });
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(mesh.colors, std::vector<Color>(4));
    }
}

TEST(Depth, spans_zero_to_one_or_the_central_range)
{
    const struct {
        Point3 direction;
        float fraction;
        std::vector<float> greys;
    } cases[] = {
        {{0, 1, 0}, 0, {0, 1 / 3.0f, 2 / 3.0f, 1}},
        {{0, -2, 0}, 0, {1, 2 / 3.0f, 1 / 3.0f, 0}},  // the direction need not be a unit
        {{1, 0, 0}, 0.25f, {-1, 0, 1, 2}},          // k = 1: lo and hi from the second and third
    };
    for (const auto &c : cases) {
        TriMesh mesh = row_of_four();
        ASSERT_TRUE(bake_depth(mesh, c.direction, c.fraction));
        for (size_t i = 0; i < 4; i++)
            EXPECT_PRED3(near, mesh.colors[i], Color(c.greys[i], c.greys[i], c.greys[i]), 1e-6f) << i;
    }
}

TEST(Depth, refuses_fractions_outside_the_half_and_directions_without_extent)
{
    const struct {
        Point3 direction;
        float fraction;
        const char *message;
    } cases[] = {
        {{0, 1, 0}, -0.1f, "fraction -0.1"},
        {{0, 1, 0}, 0.5f, "fraction 0.5"},
        {{0, 0, 1}, 0, "span no depth"},  // every vertex at z = 0
        {{0, 0, 0}, 0.25f, "span no depth"},
    };
    for (const auto &c : cases) {
        TriMesh mesh = row_of_four();
        const std::string err = stderr_of([&] { EXPECT_FALSE(bake_depth(mesh, c.direction, c.fraction)); });
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(mesh.colors, std::vector<Color>(4));
    }
}
