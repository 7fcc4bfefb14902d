#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "subdivision_rules.h"

TEST(SubdivisionRules, loop_formula_weights_match_the_table_up_to_valence_six)
{
    for (int n = 3; n <= 6; n++) {
        const double a = 0.375 + 0.25 * std::cos(2 * std::numbers::pi / n);
        EXPECT_NEAR(vertex_weight(SubdivScheme::loop_formula, n), 0.375 + a * a, 1e-6);
    }
    EXPECT_EQ(vertex_weight(SubdivScheme::loop, 3), 0.3438f);
    EXPECT_EQ(vertex_weight(SubdivScheme::loop, 9), 0.625f);
}

TEST(SubdivisionRules, butterfly_weights_at_valence_three_are_one_step_off_the_nearest_floats)
{
    StencilWeights weights(true);
    const auto w = weights(3);
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0], std::nextafter(5.0f / 12.0f, 1.0f));
    EXPECT_EQ(w[1], std::nextafter(-1.0f / 12.0f, 0.0f));
    EXPECT_EQ(w[2], w[1]);
}

TEST(SubdivisionRules, stencils_exist_only_where_the_scheme_has_them)
{
    StencilWeights loop(false), butterfly(true);
    EXPECT_TRUE(loop(3).empty());
    EXPECT_EQ(loop(4).size(), 4u);
    EXPECT_TRUE(loop(6).empty());
    EXPECT_EQ(loop(7).size(), 7u);
    EXPECT_TRUE(butterfly(2).empty());
    EXPECT_EQ(butterfly(3).size(), 3u);
    EXPECT_TRUE(butterfly(6).empty());
}

TEST(SubdivisionRules, high_valence_stencils_are_symmetric_and_keep_their_share)
{
    StencilWeights loop(false), butterfly(true);
    for (int n : {7, 12}) {
        const auto wl = loop(n), wb = butterfly(n);
        double butterfly_sum = 0;
        for (int i = 0; i < n; i++) {
            EXPECT_NEAR(wl[i], wl[(n - i) % n], 1e-6);
            EXPECT_NEAR(wb[i], wb[(n - i) % n], 1e-6);
            butterfly_sum += wb[i];
        }
        // The butterfly stencil leaves 3/4 to the vertex itself; Loop's gives
        // the far end of the edge the largest weight.
        EXPECT_NEAR(butterfly_sum, 0.25, 1e-6);
        EXPECT_GT(wl[0], wl[1]);
    }
}
