// "acc" (free balls above the surface) and "ao2" (distance to a reference
// mesh).

#include <gtest/gtest.h>

#include "bake_test_support.h"
#include "free_space_colourings.h"
#include "hsv_colour.h"

namespace {

// A 5 x 5 grid at height z, its normals set to `up` or down.
TriMesh plate(float z, bool up)
{
    TriMesh mesh = make_grid_mesh(5);
    for (Point3 &p : mesh.vertices)
        p.z = z;
    mesh.normals.assign(mesh.vertices.size(), Point3(0, 0, up ? 1.0f : -1.0f));
    return mesh;
}

// Two meshes as one: b's vertices and faces after a's.
TriMesh joined(const TriMesh &a, const TriMesh &b)
{
    TriMesh mesh = a;
    const int first = int(a.vertices.size());
    mesh.vertices.insert(mesh.vertices.end(), b.vertices.begin(), b.vertices.end());
    mesh.normals.insert(mesh.normals.end(), b.normals.begin(), b.normals.end());
    for (const Face &f : b.faces)
        mesh.faces.emplace_back(f[0] + first, f[1] + first, f[2] + first);
    return mesh;
}

// The greys of "acc" with maxsize and offset in model units.
std::vector<float> accessibility(TriMesh mesh, double maxsize, double offset = 0)
{
    make_feature_size_one(mesh);
    size_colours(mesh);
    stderr_of([&] { bake_accessibility(mesh, maxsize, offset); });
    std::vector<float> greys;
    for (const Color &c : mesh.colors) {
        EXPECT_EQ(c.r, c.g);
        EXPECT_EQ(c.r, c.b);
        greys.push_back(c.r);
    }
    return greys;
}

} // namespace

TEST(Accessibility, is_zero_for_maxsize_zero)
{
    for (const float g : accessibility(plate(0, true), 0))
        EXPECT_EQ(g, 0);
}

TEST(Accessibility, reaches_maxsize_above_a_plane_and_half_the_gap_inside_a_box)
{
    // Above an open plane nothing is in the way: eight halvings end 1/512 of
    // maxsize below it.
    for (const float g : accessibility(plate(0, true), 4))
        EXPECT_EQ(g, 4 * 511 / 512.0f);
    // Between two plates 2 apart, facing each other, a ball resting on one
    // reaches the other's vertex at radius 1; the halvings of [0, 4] end on
    // [1, 1 + 4/256].
    for (const float g : accessibility(joined(plate(0, true), plate(2, false)), 4))
        EXPECT_EQ(g, 1 + 2 / 256.0f);
    // An offset lifts the ball's start: the gap left above is 1.5.
    for (const float g : accessibility(joined(plate(0, true), plate(2, false)), 4, 0.5))
        EXPECT_NEAR(g, 0.75f, 4 / 256.0f);
}

TEST(ReferenceDistance, is_blue_on_the_reference_and_red_beyond_the_maximum)
{
    const struct {
        const char *name;
        float shift;  // of the reference along z
        float dmax;
        float e;      // expected distance / dmax
    } cases[] = {
        {"itself", 0, 0.5f, 0},
        {"shifted copy", 0.25f, 1, 0.25f},
        {"shifted beyond dmax", 2, 1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TriMesh mesh = make_grid_mesh(5), reference = make_grid_mesh(5);
        for (Point3 &p : reference.vertices)
            p.z += c.shift;
        size_colours(mesh);
        ASSERT_TRUE(bake_reference_distance(mesh, reference, c.dmax));
        const float v = 0.3f * c.e + 0.7f;
        for (const Color &colour : mesh.colors)
            EXPECT_PRED3(near, colour, hsv_to_rgb(4 * (1 - c.e), v, v), 1e-6f);
    }
}

TEST(ReferenceDistance, measures_to_the_nearest_face_not_the_nearest_vertex)
{
    // One big triangle as reference, a point above its middle: the nearest
    // vertex is far, the face is 0.5 below.
    TriMesh reference = make_mesh({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}, {{0, 1, 2}});
    TriMesh mesh = make_mesh({{1, 1, 0.5f}, {-1, -1, 0}});
    size_colours(mesh);
    ASSERT_TRUE(bake_reference_distance(mesh, reference, 2));
    EXPECT_PRED3(near, mesh.colors[0], hsv_to_rgb(4 * 0.75f, 0.775f, 0.775f), 1e-6f);
    // Beside the corner: the corner is the nearest point, sqrt(2) away.
    const float e = std::sqrt(2.0f) / 2;
    EXPECT_PRED3(near, mesh.colors[1], hsv_to_rgb(4 * (1 - e), 0.3f * e + 0.7f, 0.3f * e + 0.7f), 1e-6f);
}

TEST(ReferenceDistance, refuses_a_maximum_distance_of_zero_or_less)
{
    for (const float dmax : {0.0f, -1.0f}) {
        TriMesh mesh = make_grid_mesh(3), reference = make_grid_mesh(3);
        size_colours(mesh);
        const std::string err = stderr_of([&] { EXPECT_FALSE(bake_reference_distance(mesh, reference, dmax)); });
        EXPECT_NE(err.find("maximum distance"), std::string::npos) << err;
        EXPECT_EQ(mesh.colors, std::vector<Color>(9));
    }
}
