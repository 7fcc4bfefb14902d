// "bdy" and "findv": edge rings counted from the boundary or from a vertex.

#include <gtest/gtest.h>

#include <algorithm>

#include "bake_test_support.h"
#include "ring_distance_colourings.h"

TEST(RingDistances, fade_from_red_to_white_over_the_rings)
{
    const int n = 9, centre = 4 * n + 4;
    TriMesh boundary = coloured(make_grid_mesh(n)), vertex = boundary;
    ASSERT_TRUE(bake_boundary_distance(boundary, 2));
    ASSERT_TRUE(bake_vertex_distance(vertex, centre, 0));
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            // Boundary (1, 0, 0), next ring (1, 1/3, 1/3), then (1, 2/3, 2/3), then white.
            const float m = float(std::min({x, y, n - 1 - x, n - 1 - y, 3})) / 3;
            EXPECT_EQ(boundary.colors[y * n + x], Color(1, m, m)) << x << ", " << y;
            const float w = y * n + x == centre ? 0 : 1;
            EXPECT_EQ(vertex.colors[y * n + x], Color(1, w, w)) << x << ", " << y;
        }
}
