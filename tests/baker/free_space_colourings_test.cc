// "acc" (free balls above the surface) and "ao2" (distance to a reference).

#include <gtest/gtest.h>

#include "bake_test_support.h"
#include "free_space_colourings.h"
#include "hsv_colour.h"

namespace {

// A 5 x 5 grid at height z with normals up (or down), as one mesh with `more`.
TriMesh plate(float z, bool up, const TriMesh &more = {})
{
    TriMesh mesh = more;
    const int first = int(mesh.vertices.size());
    for (const Point3 &p : make_grid_mesh(5).vertices) {
        mesh.vertices.emplace_back(p.x, p.y, z);
        mesh.normals.emplace_back(0, 0, up ? 1 : -1);
    }
    for (const Face &f : make_grid_mesh(5).faces)
        mesh.faces.emplace_back(f[0] + first, f[1] + first, f[2] + first);
    return coloured(mesh);
}

} // namespace

TEST(Accessibility, is_zero_for_maxsize_zero_full_over_a_plane_and_half_the_gap_in_a_box)
{
    const struct {
        const char *name;
        TriMesh mesh;
        double maxsize;
        float grey;  // eight halvings of [0, maxsize] around the free radius
    } cases[] = {{"maxsize 0", plate(0, true), 0, 0},
                 {"open plane", plate(0, true), 4, 4 * 511 / 512.0f},
                 {"plates 2 apart", plate(2, false, plate(0, true)), 4, 1 + 2 / 256.0f}};
    for (auto c : cases) {
        make_feature_size_one(c.mesh);
        stderr_of([&] { bake_accessibility(c.mesh, c.maxsize, 0); });
        for (const Color &colour : c.mesh.colors)
            EXPECT_EQ(colour, Color(c.grey, c.grey, c.grey)) << c.name;
    }
}

TEST(ReferenceDistance, is_blue_on_the_reference_and_red_from_the_maximum_on)
{
    const struct {
        float shift, dmax, e;  // reference moved along z; expected distance / dmax
    } cases[] = {{0, 0.5f, 0}, {0.25f, 1, 0.25f}, {2, 1, 1}};
    for (const auto &c : cases) {
        TriMesh mesh = coloured(make_grid_mesh(5)), reference = plate(c.shift, true);
        ASSERT_TRUE(bake_reference_distance(mesh, reference, c.dmax));
        const float v = 0.3f * c.e + 0.7f;
        for (const Color &colour : mesh.colors)
            EXPECT_PRED3(near, colour, hsv_to_rgb(4 * (1 - c.e), v, v), 1e-6f) << c.shift;
    }
}
