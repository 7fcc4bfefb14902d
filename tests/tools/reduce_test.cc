// Reduction to a triangle budget, with the options of Tidegate.
#include <gtest/gtest.h>

#include "reduce.h"
#include "repair.h"
#include "tool_meshes.h"

namespace {

// Values that follow from a vertex's position, so that they can be checked
// after the vertices are renumbered.
Color colour_of(const Point3 &p) { return {0.5f + 0.5f * p.x, 0.5f + 0.5f * p.y, 0.5f + 0.5f * p.z}; }

void give_values(TriMesh &mesh)
{
    for (const Point3 &p : mesh.vertices) {
        mesh.colors.push_back(colour_of(p));
        mesh.confidences.push_back(p.z);
        mesh.normals.push_back(p);
    }
}

} // namespace

TEST(ReduceMesh, reaches_the_count_or_keeps_what_it_is_told_to)
{
    const struct {
        const char *name;
        TriMesh mesh;
        size_t target;
        ReduceOptions options;
        bool reaches;      // at most `target` triangles at the end
        bool clustered;
    } cases[] = {
        {"sphere", make_sphere(30, 60), 500, {}, true, false},
        {"sphere, topology and borders kept", make_sphere(30, 60), 500, {true, true}, true, false},
        {"already within the count", make_sphere(4, 4), 100, {}, true, false},
        // 116 locked border vertices cannot be joined by 40 triangles.
        {"grid, borders locked, topology kept", make_grid_mesh(30), 40, {true, true}, false, false},
        {"grid, borders locked", make_grid_mesh(30), 40, {false, true}, true, true},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = c.mesh.faces.size();
        const std::vector<bool> border = boundary_vertex_marks(c.mesh);
        std::vector<Point3> border_points;
        for (size_t v = 0; v < border.size(); v++)
            if (border[v])
                border_points.push_back(c.mesh.vertices[v]);
        const ReduceResult r = reduce_mesh(c.mesh, c.target, c.options);
        EXPECT_EQ(invariant_violation(c.mesh), "");
        EXPECT_EQ(r.faces, c.mesh.faces.size());
        EXPECT_EQ(r.faces <= c.target, c.reaches) << r.faces;
        EXPECT_EQ(r.clustered, c.clustered);
        EXPECT_GT(r.faces, std::min(before, c.target) / 4);
        EXPECT_EQ(remove_unused_vertices(c.mesh), 0);
        if (c.options.keep_borders && !r.clustered) {
            const std::vector<bool> after = boundary_vertex_marks(c.mesh);
            size_t kept = 0;
            for (size_t v = 0; v < after.size(); v++)
                kept += after[v] && std::find(border_points.begin(), border_points.end(), c.mesh.vertices[v]) !=
                                        border_points.end();
            EXPECT_EQ(kept, border_points.size());
        }
    }
}

TEST(ReduceMesh, kept_vertices_keep_their_colours_normals_and_confidences)
{
    TriMesh mesh = make_sphere(20, 40);
    give_values(mesh);
    reduce_mesh(mesh, 200, {});
    ASSERT_EQ(invariant_violation(mesh), "");
    ASSERT_EQ(mesh.colors.size(), mesh.vertices.size());
    for (size_t v = 0; v < mesh.vertices.size(); v++) {
        EXPECT_EQ(mesh.colors[v], colour_of(mesh.vertices[v]));
        EXPECT_EQ(mesh.confidences[v], mesh.vertices[v].z);
        EXPECT_EQ(mesh.normals[v], mesh.vertices[v]);
    }
}

TEST(RepairMesh, welds_and_drops_what_is_broken)
{
    // Two triangles of a square that share no vertex, at the same positions.
    const std::vector<Point3> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const struct {
        const char *name;
        std::vector<Point3> vertices;
        std::vector<Face> faces;
        int welded, dropped, unused;
        size_t vertices_after, faces_after;
    } cases[] = {
        {"split square", square, {{0, 1, 2}, {3, 4, 5}}, 2, 0, 0, 4, 2},
        {"degenerate after welding", square, {{0, 1, 2}, {0, 3, 1}}, 2, 1, 1, 3, 1},
        {"repeated face, either winding", square, {{0, 1, 2}, {3, 1, 4}, {2, 1, 0}}, 2, 2, 1, 3, 1},
        {"unused vertex", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{0, 1, 2}}, 0, 0, 1, 3, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TriMesh mesh = make_mesh(c.vertices, c.faces);
        EXPECT_EQ(weld_vertices(mesh), c.welded);
        EXPECT_EQ(drop_bad_faces(mesh), c.dropped);
        EXPECT_EQ(remove_unused_vertices(mesh), c.unused);
        EXPECT_EQ(mesh.vertices.size(), c.vertices_after);
        EXPECT_EQ(mesh.faces.size(), c.faces_after);
        EXPECT_EQ(invariant_violation(mesh), "");
    }
}
