#include <gtest/gtest.h>

#include <cmath>

#include "TriMesh.h"
#include "test_support.h"

namespace {

Point3 corner_areas_of(const std::vector<Point3> &corners)
{
    TriMesh m = make_mesh(corners, {{0, 1, 2}});
    m.ensure_point_areas();
    for (int j = 0; j < 3; j++)
        EXPECT_FLOAT_EQ(m.point_areas[j], m.corner_areas[0][j]);
    return m.corner_areas[0];
}

} // namespace

TEST(PointAreas, split_each_triangle_by_its_perpendicular_bisectors)
{
    // The right angle takes half the area.
    EXPECT_EQ(corner_areas_of({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), Point3(0.25f, 0.125f, 0.125f));
    // Obtuse at corner 2 (area 2): the acute corners keep the triangles cut off
    // by the bisectors of their two edges, 5/16 each.
    EXPECT_EQ(corner_areas_of({{0, 0, 0}, {4, 0, 0}, {2, 1, 0}}), Point3(0.3125f, 0.3125f, 1.375f));
    const Point3 c = corner_areas_of({{0, 0, 0}, {2, 0, 0}, {1, std::sqrt(3.0f), 0}});
    for (int j = 0; j < 3; j++)
        EXPECT_NEAR(c[j], std::sqrt(3.0f) / 3, 1e-6f);
}

TEST(PointAreas, sum_to_the_surface_area_and_vanish_on_degenerate_faces)
{
    TriMesh m = make_grid_mesh(4);
    m.faces.emplace_back(0, 0, 5);  // coincident corners: no area, no NaN
    m.ensure_point_areas();
    float total = 0;
    for (float a : m.point_areas)
        total += a;
    EXPECT_FLOAT_EQ(total, 9.0f);
    EXPECT_EQ(m.corner_areas.back(), Point3(0, 0, 0));
}
