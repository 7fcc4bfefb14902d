// Hole filling: the minimal triangulation of a rim, and whole surfaces closed.
#include <gtest/gtest.h>

#include <cmath>

#include "fill_holes.h"
#include "hole_triangulation.h"
#include "mesh_io.h"
#include "tool_meshes.h"

namespace {

// Twenty points spread over the unit sphere.
std::vector<Point3> twenty_directions()
{
    std::vector<Point3> points;
    for (int i = 0; i < 20; i++) {
        const double z = 1 - (i + 0.5) / 10, r = std::sqrt(1 - z * z), phi = i * 2.39996;
        points.emplace_back(float(r * std::cos(phi)), float(r * std::sin(phi)), float(z));
    }
    return points;
}

} // namespace

TEST(TriangulateHole, closes_a_rim_with_the_flattest_then_smallest_triangles)
{
    const Point3 up(0, 0, 1);
    const struct {
        const char *name;
        std::vector<Point3> rim;
        std::vector<Face> faces;
    } cases[] = {
        {"triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 2, 1}}},
        // The diagonal 1-3 of a dart lies outside it and would fold the patch.
        {"dart", {{0, 0, 0}, {4, -2, 0}, {1, 0, 0}, {4, 2, 0}}, {{0, 2, 1}, {0, 3, 2}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HolePatch patch{c.rim, {}, c.rim.size()};
        // Rim normals of faces wound so that the rim runs along them: the
        // surface around lies below the hole's plane as seen from +z.
        const std::vector<Point3> normals(c.rim.size(), -up);
        ASSERT_TRUE(triangulate_hole(patch, normals, [](int, int) { return false; }));
        EXPECT_EQ(canonical(patch.faces), canonical(c.faces));
    }
}

TEST(TriangulateHole, adds_no_edge_the_surface_has_and_gives_up_when_it_must)
{
    const std::vector<Point3> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const std::vector<Point3> normals(4, Point3(0, 0, -1));
    HolePatch patch{square, {}, 4};
    ASSERT_TRUE(triangulate_hole(patch, normals, [](int i, int j) { return i + j == 2; }));
    EXPECT_EQ(canonical(patch.faces), canonical({{0, 3, 1}, {1, 3, 2}}));
    HolePatch blocked{square, {}, 4};
    EXPECT_FALSE(triangulate_hole(blocked, normals, [](int, int) { return true; }));
    EXPECT_TRUE(blocked.faces.empty());
}

TEST(FillHoles, closes_surfaces_with_holes)
{
    TriMesh sphere = make_sphere(60, 120);
    cut_holes(sphere, twenty_directions(), 0.2f);
    TriMesh torus = *read_mesh((samples_dir() + "/bumpy_torus.ply").c_str());
    cut_holes(torus, {torus.vertices[0], torus.vertices[1000], torus.vertices[2000]}, 0.15f);
    const struct {
        const char *name;
        TriMesh mesh;
        int holes;
    } cases[] = {
        {"sphere with twenty holes", sphere, 20},
        {"scanned torus with three holes", torus, 3},
        {"terrain patch", make_grid_mesh(12), 1},
        {"closed sphere", make_sphere(6, 8), 0},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Point3> before = c.mesh.vertices;
        EXPECT_EQ(border_edge_count(c.mesh) > 0, c.holes > 0);
        const HoleFillReport r = fill_holes(c.mesh);
        EXPECT_EQ(r.filled, c.holes);
        EXPECT_EQ(r.skipped, 0);
        EXPECT_EQ(invariant_violation(c.mesh), "");
        EXPECT_TRUE(every_edge_once_each_way(c.mesh.faces));
        ASSERT_EQ(c.mesh.vertices.size(), before.size() + size_t(r.added_vertices));
        EXPECT_TRUE(std::equal(before.begin(), before.end(), c.mesh.vertices.begin()));
    }
}

TEST(FillHoles, patches_follow_the_surface_around_them)
{
    TriMesh sphere = make_sphere(60, 120);
    cut_holes(sphere, twenty_directions(), 0.2f);
    const size_t old = sphere.vertices.size();
    const HoleFillReport r = fill_holes(sphere);
    EXPECT_EQ(r.skipped, 0);
    ASSERT_GT(r.added_vertices, 200);
    for (size_t v = old; v < sphere.vertices.size(); v++)
        EXPECT_NEAR(len(sphere.vertices[v]), 1.0f, 0.02f) << v;
    TriMesh flat = make_grid_mesh(12);
    fill_holes(flat);
    for (const Point3 &p : flat.vertices)
        EXPECT_EQ(p.z, 0.0f);
}

TEST(FillHoles, skips_a_rim_through_a_vertex_with_several_border_edges)
{
    // Two triangles that meet only at vertex 0.
    TriMesh bowtie = make_mesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {-1, 0, 0}, {-1, -1, 0}}, {{0, 1, 2}, {0, 3, 4}});
    const std::string log = stderr_of([&] {
        const HoleFillReport r = fill_holes(bowtie);
        EXPECT_EQ(r.filled, 0);
        EXPECT_EQ(r.skipped, 2);
    });
    EXPECT_NE(log.find("Skipped the hole at vertex"), std::string::npos) << log;
    EXPECT_EQ(bowtie.faces.size(), 2u);
}
