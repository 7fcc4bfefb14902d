// "bdy" and "findv": rings counted from the boundary or from one vertex.

#include <gtest/gtest.h>

#include <algorithm>

#include "bake_test_support.h"
#include "ring_distance_colourings.h"

namespace {

// (1, m, m) with m = count / (rings + 1).
Color ring_colour(uint32_t count, int rings)
{
    const float m = float(count) / float(rings + 1);
    return {1, m, m};
}

} // namespace

TEST(BoundaryDistance, fades_from_red_at_the_boundary_over_the_rings)
{
    const int n = 9;
    for (const int rings : {0, 2, 10}) {
        TriMesh mesh = make_grid_mesh(n);
        size_colours(mesh);
        ASSERT_TRUE(bake_boundary_distance(mesh, rings));
        ASSERT_EQ(mesh.visit_marks.size(), mesh.vertices.size());
        for (int y = 0; y < n; y++)
            for (int x = 0; x < n; x++) {
                const int ring = std::min({x, y, n - 1 - x, n - 1 - y});
                const uint32_t count = uint32_t(std::min(ring, rings + 1));
                EXPECT_EQ(mesh.visit_marks[y * n + x], count) << rings << ": " << x << ", " << y;
                EXPECT_EQ(mesh.colors[y * n + x], ring_colour(count, rings)) << rings << ": " << x << ", " << y;
            }
    }
}

TEST(VertexDistance, fades_from_red_at_the_vertex_over_the_rings)
{
    const int n = 7;
    const int centre = 3 * n + 3;
    for (const int rings : {0, 1, 2}) {
        TriMesh mesh = make_grid_mesh(n);
        size_colours(mesh);
        ASSERT_TRUE(bake_vertex_distance(mesh, centre, rings));
        for (int y = 0; y < n; y++)
            for (int x = 0; x < n; x++) {
                // Hops on the grid with its rising diagonals.
                const int dx = x - 3, dy = y - 3;
                const int hops = dx * dy > 0 ? std::max(std::abs(dx), std::abs(dy)) : std::abs(dx) + std::abs(dy);
                const uint32_t count = uint32_t(std::min(hops, rings + 1));
                EXPECT_EQ(mesh.colors[y * n + x], ring_colour(count, rings)) << rings << ": " << x << ", " << y;
            }
    }
}

TEST(RingDistances, refuse_negative_rings_and_vertices_outside_the_mesh)
{
    const struct {
        const char *name;
        bool (*run)(TriMesh &);
        const char *message;
    } cases[] = {
        {"bdy -1", [](TriMesh &m) { return bake_boundary_distance(m, -1); }, "rings -1"},
        {"findv 0 -1", [](TriMesh &m) { return bake_vertex_distance(m, 0, -1); }, "rings -1"},
        {"findv 9 0", [](TriMesh &m) { return bake_vertex_distance(m, 9, 0); }, "vertex 9"},
        {"findv -1 0", [](TriMesh &m) { return bake_vertex_distance(m, -1, 0); }, "vertex -1"},
    };
    for (const auto &c : cases) {
        TriMesh mesh = make_grid_mesh(3);
        size_colours(mesh);
        const std::string err = stderr_of([&] { EXPECT_FALSE(c.run(mesh)) << c.name; });
        EXPECT_NE(err.find(c.message), std::string::npos) << c.name << ": " << err;
        EXPECT_EQ(mesh.colors, std::vector<Color>(9)) << c.name;
    }
}
