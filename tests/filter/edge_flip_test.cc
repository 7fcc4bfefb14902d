#include <gtest/gtest.h>

#include "edge_flip.h"
#include "test_meshes.h"
#include "test_support.h"

namespace {

// A thin rhombus split along its long diagonal 0-2 into two obtuse triangles.
TriMesh rhombus()
{
    return make_mesh({{-2, 0, 0}, {0, -0.5f, 0}, {2, 0, 0}, {0, 0.5f, 0}}, {{0, 1, 2}, {0, 2, 3}});
}

} // namespace

TEST(TriangleQuality, is_the_cosine_of_the_largest_angle_in_any_corner_order)
{
    const Point3 a(0, 0, 0), b(1, 0, 0), c(0.5f, 0.8660254f, 0);
    EXPECT_NEAR(triangle_quality(a, b, c), 0.5f, 1e-6);
    EXPECT_NEAR(triangle_quality(a, b, {0, 1, 0}), 0.0f, 1e-6);
    EXPECT_NEAR(triangle_quality(a, b, {-0.5f, 0.8660254f, 0}), -0.5f, 1e-6);  // 120 degrees
    const Point3 p(0.1f, 0.2f, 0.3f), q(1.7f, -0.3f, 0.9f), r(0.4f, 2.2f, -1.1f);
    const float value = triangle_quality(p, q, r);
    for (const auto &[x, y, z] : {std::tuple(p, r, q), std::tuple(q, p, r), std::tuple(q, r, p),
                                  std::tuple(r, p, q), std::tuple(r, q, p)})
        EXPECT_EQ(triangle_quality(x, y, z), value);
}

TEST(TriangleQuality, triangle_with_a_side_of_length_zero_is_the_worst)
{
    EXPECT_EQ(triangle_quality({0, 0, 0}, {0, 0, 0}, {1, 0, 0}), -1.0f);
    EXPECT_EQ(triangle_quality({1, 1, 1}, {1, 1, 1}, {1, 1, 1}), -1.0f);
}

TEST(FlipBenefit, square_has_nothing_to_gain)
{
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
    EXPECT_EQ(flip_benefit(m, 0, 1), 0.0f);
    stderr_of([&] { edge_flip(m); });
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 2}, {0, 2, 3}}));
}

TEST(EdgeFlip, thin_rhombus_flips_to_its_short_diagonal_and_not_back)
{
    TriMesh m = rhombus();
    EXPECT_GT(flip_benefit(m, 1, 2), 0.0f);
    EXPECT_EQ(flip_benefit(m, 1, 2), flip_benefit(m, 0, 1));
    edge_flip(m);
    // Face 1 goes first (equal benefits, larger face): its corner after the
    // edge's start becomes 1, and face 0 takes the other half.
    EXPECT_EQ(m.faces, (std::vector<Face>{{0, 1, 3}, {1, 2, 3}}));
    EXPECT_TRUE(m.across_edge.empty());  // cleared: the faces changed
    EXPECT_LT(flip_benefit(m, 1, 1), 0.0f);
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(EdgeFlip, flip_edge_keeps_the_links_of_the_faces_around)
{
    // The rhombus with a triangle on each outer edge.
    TriMesh m = rhombus();
    m.vertices.insert(m.vertices.end(), {{-1, -2, 0}, {1, -2, 0}, {1, 2, 0}, {-1, 2, 0}});
    m.faces.insert(m.faces.end(), {{0, 4, 1}, {1, 5, 2}, {2, 6, 3}, {3, 7, 0}});
    m.ensure_vertex_faces();
    EXPECT_EQ(flip_edge(m, 1, 2), 0);
    EXPECT_EQ(m.faces[0], Face(0, 1, 3));
    EXPECT_EQ(m.faces[1], Face(1, 2, 3));
    EXPECT_TRUE(m.vertex_faces.empty());  // stale after the flip
    const std::vector<Face> kept = m.across_edge;
    m.clear_across_edge();
    m.ensure_across_edge();
    EXPECT_EQ(kept, m.across_edge);
}

TEST(EdgeFlip, boundary_edges_and_pairs_with_one_opposite_vertex_stay)
{
    TriMesh single = make_mesh({{0, 0, 0}, {5, 0, 0}, {2.5f, 0.1f, 0}}, {{0, 1, 2}});
    for (int j = 0; j < 3; j++)
        EXPECT_EQ(flip_benefit(single, 0, j), 0.0f);
    EXPECT_EQ(flip_edge(single, 0, 0), -1);

    // Two faces on the same three vertices, back to back.
    TriMesh pillow = make_mesh({{0, 0, 0}, {5, 0, 0}, {2.5f, 0.1f, 0}}, {{0, 1, 2}, {2, 1, 0}});
    for (int j = 0; j < 3; j++)
        EXPECT_EQ(flip_benefit(pillow, 0, j), 0.0f);

    // No flippable edge: only strips and grid are dropped.
    single.tristrips = {3, 0, 1, 2};
    single.grid_cols = single.grid_rows = 1;
    single.range_grid = {0};
    EXPECT_EQ(stderr_of([&] { edge_flip(single); }), "Flipping edges... Done.\n");
    EXPECT_EQ(single.faces, (std::vector<Face>{{0, 1, 2}}));
    EXPECT_TRUE(single.tristrips.empty() && single.range_grid.empty());
    EXPECT_FALSE(single.across_edge.empty());  // nothing flipped: the links still hold
}

TEST(EdgeFlip, one_sided_link_is_reported_and_left_and_strips_come_out_right)
{
    TriMesh m = rhombus_with_one_sided_link();
    const std::string log = stderr_of([&] { edge_flip(m); });
    EXPECT_EQ(log.substr(log.find("Flipping")),
              "Flipping edges... Encountered error in flip_benefit()\n"
              "f = 3: 1 3 2\nae = 2\naef = 0 1 2\nfaei3 = 2\naeae = 4 -1 0\nDone.\n");
    EXPECT_EQ(m.faces, rhombus_with_one_sided_link_flipped());
    EXPECT_EQ(invariant_violation(m), "");
    // Face 2 no longer holds edge 1-2: strips must not follow face 3's old link.
    m.ensure_tristrips();
    EXPECT_EQ(canonical(strip_triangles(m)), canonical(m.faces));
}
