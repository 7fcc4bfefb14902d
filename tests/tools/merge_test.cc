// Joining two meshes.
#include <gtest/gtest.h>

#include "merge_meshes.h"
#include "tool_meshes.h"

namespace {

// The faces of `mesh` on one side of the plane z = 0, as a mesh of their own.
TriMesh half(const TriMesh &sphere, bool upper)
{
    TriMesh part = sphere;
    std::vector<bool> marks(part.faces.size());
    for (size_t f = 0; f < part.faces.size(); f++) {
        const Face &face = part.faces[f];
        const float z = part.vertices[face[0]].z + part.vertices[face[1]].z + part.vertices[face[2]].z;
        marks[f] = (z > 0) != upper;
    }
    delete_faces(part, marks);
    remove_unused_vertices(part);
    keep_faces_only(part);
    return part;
}

} // namespace

TEST(MergeMeshes, welds_the_seam_of_two_halves_into_a_closed_surface)
{
    const TriMesh sphere = make_sphere(8, 16);
    TriMesh top = half(sphere, true), bottom = half(sphere, false);
    ASSERT_EQ(border_edge_count(top), 16u);
    EXPECT_EQ(merge_meshes(top, bottom), 16);
    EXPECT_EQ(invariant_violation(top), "");
    EXPECT_EQ(top.vertices.size(), sphere.vertices.size());
    EXPECT_EQ(top.faces.size(), sphere.faces.size());
    EXPECT_TRUE(every_edge_once_each_way(top.faces));
}

TEST(MergeMeshes, keeps_closed_meshes_apart_at_a_shared_point)
{
    // Two tetrahedra touching at vertex (0, 0, 0): no border, so no welding.
    const std::vector<Point3> v{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const std::vector<Face> f{{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
    TriMesh a = make_mesh(v, f), b = make_mesh({{0, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}, f);
    EXPECT_EQ(merge_meshes(a, b), 0);
    EXPECT_EQ(a.vertices.size(), 8u);
    EXPECT_EQ(a.faces.size(), 8u);
}

TEST(MergeMeshes, keeps_every_attribute_either_has_with_defaults_for_the_other)
{
    const Color red(1, 0, 0), white(1, 1, 1);
    const struct {
        const char *name;
        bool colours_a, colours_b, confidences_a, confidences_b;
    } cases[] = {
        {"colours in the first", true, false, false, false},
        {"confidences in the second", false, false, false, true},
        {"both in both", true, true, true, true},
        {"none", false, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TriMesh a = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
        TriMesh b = make_mesh({{5, 0, 0}, {6, 0, 0}, {5, 1, 0}}, {{0, 1, 2}});
        if (c.colours_a)
            a.colors.assign(3, red);
        if (c.colours_b)
            b.colors.assign(3, red);
        if (c.confidences_a)
            a.confidences.assign(3, 0.5f);
        if (c.confidences_b)
            b.confidences.assign(3, 0.5f);
        merge_meshes(a, b);
        EXPECT_EQ(invariant_violation(a), "");
        const bool colours = c.colours_a || c.colours_b, confidences = c.confidences_a || c.confidences_b;
        ASSERT_EQ(a.colors.size(), colours ? 6u : 0u);
        ASSERT_EQ(a.confidences.size(), confidences ? 6u : 0u);
        for (int v = 0; v < 6; v++) {
            const bool from_a = v < 3;
            if (colours) {
                EXPECT_EQ(a.colors[v], (from_a ? c.colours_a : c.colours_b) ? red : white);
            }
            if (confidences) {
                EXPECT_EQ(a.confidences[v], (from_a ? c.confidences_a : c.confidences_b) ? 0.5f : 1.0f);
            }
        }
    }
}
