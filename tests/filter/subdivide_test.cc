#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "shape_meshes.h"
#include "subdivide.h"
#include "test_support.h"

namespace {

constexpr SubdivScheme all_schemes[] = {
    SubdivScheme::midpoint,     SubdivScheme::loop,
    SubdivScheme::loop_formula, SubdivScheme::loop_extraordinary,
    SubdivScheme::butterfly,    SubdivScheme::butterfly_extraordinary};

void expect_point(const Point3 &actual, const Point3 &expected)
{
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.z, expected.z);
}

// Number of distinct undirected edges.
size_t edge_count(const TriMesh &mesh)
{
    std::set<std::pair<int, int>> edges;
    for (const Face &f : mesh.faces)
        for (int j = 0; j < 3; j++)
            edges.insert(std::minmax(f[j], f[(j + 1) % 3]));
    return edges.size();
}

TriMesh subdivided(TriMesh mesh, SubdivScheme scheme)
{
    subdivide(mesh, scheme);
    return mesh;
}

TriMesh single_triangle()
{
    return make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {Face(0, 1, 2)});
}

// Two triangles sharing the edge 1-2, the second lifted off the plane.
TriMesh two_triangles()
{
    return make_mesh({Point3(0, 0, 0), Point3(2, 0, 0), Point3(0, 2, 0), Point3(2, 2, 4)},
                     {Face(0, 1, 2), Face(2, 1, 3)});
}

} // namespace

TEST(Subdivide, gives_every_edge_one_vertex_and_every_face_four)
{
    const TriMesh meshes[] = {
        make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, 0, 1)},
                  {Face(0, 2, 1), Face(0, 1, 3), Face(1, 2, 3), Face(2, 0, 3)}),
        make_octahedron(), make_torus(5, 4), make_grid_mesh(4), two_triangles(),
        // two fans that share only a vertex
        make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(-1, 0, 0),
                   Point3(-1, -1, 0)},
                  {Face(0, 1, 2), Face(0, 3, 4)})};
    for (const TriMesh &mesh : meshes)
        for (const SubdivScheme scheme : all_schemes) {
            const TriMesh result = subdivided(mesh, scheme);
            EXPECT_EQ(result.vertices.size(), mesh.vertices.size() + edge_count(mesh));
            EXPECT_EQ(result.faces.size(), 4 * mesh.faces.size());
            EXPECT_EQ(invariant_violation(result), "");
            EXPECT_TRUE(all_finite(result));
        }
}

TEST(Subdivide, gives_unlinked_sides_of_an_edge_a_vertex_each)
{
    // Three faces on the edge 0-1: face 0 links with face 2 (the last to claim
    // it), face 1 keeps a one-sided link and gets its own vertex there.
    const TriMesh fin = make_mesh(
        {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, -1, 0), Point3(0, 0, 1)},
        {Face(0, 1, 2), Face(1, 0, 3), Face(1, 0, 4)});
    // Two faces on the edge 1-2 in the same direction are not linked at all.
    const TriMesh flipped =
        make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)},
                  {Face(0, 1, 2), Face(1, 2, 3)});
    for (const SubdivScheme scheme : all_schemes) {
        const TriMesh a = subdivided(fin, scheme), b = subdivided(flipped, scheme);
        EXPECT_EQ(a.vertices.size(), 5u + 8u);
        EXPECT_EQ(a.faces.size(), 12u);
        EXPECT_EQ(b.vertices.size(), 4u + 6u);
        EXPECT_EQ(b.faces.size(), 8u);
        EXPECT_EQ(invariant_violation(a), "");
        EXPECT_EQ(invariant_violation(b), "");
        EXPECT_TRUE(all_finite(a) && all_finite(b));
    }
}

TEST(Subdivide, numbers_new_vertices_and_faces_in_order)
{
    const TriMesh mesh = subdivided(two_triangles(), SubdivScheme::midpoint);
    // Face 0 meets edges 1-2, 2-0, 0-1 (vertices 4, 5, 6); face 1 meets 1-3
    // and 3-2 (7, 8) and finds 2-1 numbered already.
    const std::vector<Face> expected = {Face(4, 5, 6), Face(7, 8, 4), Face(0, 6, 5), Face(1, 4, 6),
                                        Face(2, 5, 4), Face(2, 4, 8), Face(1, 7, 4), Face(3, 8, 7)};
    EXPECT_EQ(mesh.faces, expected);
    ASSERT_EQ(mesh.vertices.size(), 9u);
    expect_point(mesh.vertices[4], Point3(1, 1, 0));
    expect_point(mesh.vertices[7], Point3(2, 1, 2));
    expect_point(mesh.vertices[8], Point3(1, 2, 2));
}

TEST(Subdivide, single_triangle_under_each_scheme)
{
    // Every edge is a boundary edge: midpoints for Loop, and for the butterfly
    // the four-point rule, whose boundary means B are here the triangle's
    // centroid: 3/4 (p + q) - 1/4 (2 centroid).
    for (const SubdivScheme scheme : all_schemes) {
        const TriMesh mesh = subdivided(single_triangle(), scheme);
        ASSERT_EQ(mesh.vertices.size(), 6u);
        EXPECT_EQ(mesh.faces,
                  (std::vector<Face>{Face(3, 4, 5), Face(0, 5, 4), Face(1, 3, 5), Face(2, 4, 3)}));
        const bool butterfly =
            scheme == SubdivScheme::butterfly || scheme == SubdivScheme::butterfly_extraordinary;
        if (butterfly) {
            expect_point(mesh.vertices[3], Point3(7.0f / 12, 7.0f / 12, 0));
            expect_point(mesh.vertices[4], Point3(-1.0f / 6, 7.0f / 12, 0));
            expect_point(mesh.vertices[5], Point3(7.0f / 12, -1.0f / 6, 0));
        } else {
            expect_point(mesh.vertices[3], Point3(0.5f, 0.5f, 0));
            expect_point(mesh.vertices[4], Point3(0, 0.5f, 0));
            expect_point(mesh.vertices[5], Point3(0.5f, 0, 0));
        }
        if (moves_old_vertices(scheme)) {
            // 3/4 of itself and 1/4 of the mean of its two neighbours.
            expect_point(mesh.vertices[0], Point3(0.125f, 0.125f, 0));
            expect_point(mesh.vertices[1], Point3(0.75f, 0.125f, 0));
            expect_point(mesh.vertices[2], Point3(0.125f, 0.75f, 0));
        } else {
            expect_point(mesh.vertices[1], Point3(1, 0, 0));
        }
    }
}

TEST(Subdivide, loop_rules_on_two_triangles)
{
    const TriMesh mesh = subdivided(two_triangles(), SubdivScheme::loop);
    // Shared edge: 3/8 (p + q) + 1/8 (a + b).
    expect_point(mesh.vertices[4], Point3(1.0f, 1.0f, 0.5f));
    // Boundary edge 0-1: the midpoint.
    expect_point(mesh.vertices[6], Point3(1, 0, 0));
    // Vertex 1 has the boundary neighbours 0 and 3: 3/4 (2, 0, 0) + 1/4 (1, 1, 2).
    expect_point(mesh.vertices[1], Point3(1.75f, 0.25f, 0.5f));
}

TEST(Subdivide, butterfly_reflects_missing_wings_at_a_boundary)
{
    for (const SubdivScheme scheme :
         {SubdivScheme::butterfly, SubdivScheme::butterfly_extraordinary}) {
        const TriMesh mesh = subdivided(two_triangles(), scheme);
        // Shared edge 1-2 with a = 0, b = 3 and the wings reflected over the
        // four boundary edges: (2,-2,0), (-2,2,0), (0,2,4), (4,0,4).
        expect_point(mesh.vertices[4], Point3(1, 1, 0));
        // Boundary edge 0-1: B(0) = (0.5, 0.5, 0), B(1) = (1, 1, 1).
        expect_point(mesh.vertices[6], Point3(1.125f, -0.375f, -0.25f));
        expect_point(mesh.vertices[3], Point3(2, 2, 4));
    }
}

TEST(Subdivide, butterfly_wings_are_the_faces_beyond_when_present)
{
    // The same edge inside a larger patch whose outer vertices sit exactly
    // where the reflections would put them gives the same point.
    const TriMesh patch = make_mesh(
        {Point3(0, 0, 0), Point3(2, 0, 0), Point3(0, 2, 0), Point3(2, 2, 4), Point3(2, -2, 0),
         Point3(-2, 2, 0), Point3(0, 4, 4), Point3(4, 0, 4)},
        {Face(0, 1, 2), Face(2, 1, 3), Face(1, 0, 4), Face(0, 2, 5), Face(2, 3, 6), Face(3, 1, 7)});
    const TriMesh mesh = subdivided(patch, SubdivScheme::butterfly);
    expect_point(mesh.vertices[8], Point3(1, 1, 0));
}

TEST(Subdivide, schemes_of_one_family_agree_on_a_regular_closed_mesh)
{
    const TriMesh torus = make_torus(6, 5);
    const TriMesh loop = subdivided(torus, SubdivScheme::loop);
    EXPECT_EQ(subdivided(torus, SubdivScheme::loop_formula).vertices, loop.vertices);
    EXPECT_EQ(subdivided(torus, SubdivScheme::loop_extraordinary).vertices, loop.vertices);
    EXPECT_NE(subdivided(torus, SubdivScheme::midpoint).vertices, loop.vertices);
    const TriMesh fly = subdivided(torus, SubdivScheme::butterfly);
    EXPECT_EQ(subdivided(torus, SubdivScheme::butterfly_extraordinary).vertices, fly.vertices);
    EXPECT_NE(fly.vertices, loop.vertices);
}

TEST(Subdivide, extraordinary_stencils_around_valence_four)
{
    // Every octahedron vertex has valence 4, so an edge point is the mean of
    // the stencils around both ends. Edge 0-2 is edge 2 of face 0, new vertex 8.
    const TriMesh loop3 = subdivided(make_octahedron(), SubdivScheme::loop_extraordinary);
    // Around (1,0,0): 23/64 of itself, 0.3828125 (0,1,0), 0.0078125 (0,-1,0)
    // and 1/8 of (0,0,1) and (0,0,-1): (23/64, 3/8, 0); around (0,1,0) the same
    // mirrored.
    expect_point(loop3.vertices[8], Point3(0.3671875f, 0.3671875f, 0));
    // Old vertices: weight 0.5 and the neighbours' mean (the origin).
    expect_point(loop3.vertices[0], Point3(0.5f, 0, 0));
    // The Loop edge rule would give 3/8 (p + q) + 1/8 (a + b).
    expect_point(subdivided(make_octahedron(), SubdivScheme::loop).vertices[8],
                 Point3(0.375f, 0.375f, 0));
    expect_point(subdivided(make_octahedron(), SubdivScheme::loop).vertices[0],
                 Point3(0.4625f, 0, 0));
    expect_point(subdivided(make_octahedron(), SubdivScheme::loop_formula).vertices[0],
                 Point3(0.515625f, 0, 0));

    // Butterfly weights 3/8, 0, -1/8, 0: around (1,0,0) 3/4 of itself,
    // 3/8 (0,1,0) and -1/8 (0,-1,0).
    expect_point(subdivided(make_octahedron(), SubdivScheme::butterfly_extraordinary).vertices[8],
                 Point3(0.625f, 0.625f, 0));
}

TEST(Subdivide, extraordinary_stencils_around_valence_three)
{
    const TriMesh tetra =
        make_mesh({Point3(0, 0, 0), Point3(4, 0, 0), Point3(0, 4, 0), Point3(0, 0, 4)},
                  {Face(0, 2, 1), Face(0, 1, 3), Face(1, 2, 3), Face(2, 0, 3)});
    // Loop has no stencil below valence 4: the Loop edge rule stands in.
    EXPECT_EQ(subdivided(tetra, SubdivScheme::loop_extraordinary).vertices[4],
              subdivided(tetra, SubdivScheme::loop).vertices[4]);
    // Butterfly at valence 3: 5/12 for the far end, -1/12 for the other two.
    // Edge 2-1 of face 0 (vertex 4): around 2, neighbours 1, 0, 3; around 1,
    // neighbours 2, 3, 0.
    const TriMesh fly = subdivided(tetra, SubdivScheme::butterfly_extraordinary);
    const double w0 = 0.41666669, w1 = -0.083333328, rest = 1 - w0 - 2 * w1;
    const Point3 p(0, 4, 0), q(4, 0, 0), o(0, 0, 0), t(0, 0, 4);
    for (int c = 0; c < 3; c++) {
        const double around_p = rest * p[c] + w0 * q[c] + w1 * (o[c] + t[c]);
        const double around_q = rest * q[c] + w0 * p[c] + w1 * (t[c] + o[c]);
        EXPECT_NEAR(fly.vertices[4][c], (around_p + around_q) / 2, 1e-5);
    }
}

TEST(Subdivide, stencils_fall_back_to_the_regular_rule_on_boundaries)
{
    // On an open grid every irregular vertex lies on the boundary, where the
    // walk round it ends: scheme 3 gives what scheme 1 gives.
    const TriMesh grid = make_grid_mesh(5);
    EXPECT_EQ(subdivided(grid, SubdivScheme::loop_extraordinary).vertices,
              subdivided(grid, SubdivScheme::loop).vertices);
    EXPECT_EQ(subdivided(grid, SubdivScheme::butterfly_extraordinary).vertices,
              subdivided(grid, SubdivScheme::butterfly).vertices);
}

TEST(Subdivide, new_vertices_take_the_mean_colour_and_confidence_of_their_edge)
{
    TriMesh mesh = two_triangles();
    mesh.colors = {Color(1, 0, 0), Color(0, 1, 0), Color(0, 0, 1), Color(1, 1, 1)};
    mesh.confidences = {1, 0.5f, 0, 0.25f};
    subdivide(mesh, SubdivScheme::loop);
    ASSERT_EQ(mesh.colors.size(), 9u);
    ASSERT_EQ(mesh.confidences.size(), 9u);
    EXPECT_EQ(mesh.colors[0], Color(1, 0, 0));
    EXPECT_EQ(mesh.colors[4], Color(0, 0.5f, 0.5f)); // edge 1-2
    EXPECT_EQ(mesh.colors[7], Color(0.5f, 1, 0.5f)); // edge 1-3
    EXPECT_FLOAT_EQ(mesh.confidences[4], 0.25f);
    EXPECT_FLOAT_EQ(mesh.confidences[8], 0.125f); // edge 3-2
    EXPECT_FLOAT_EQ(mesh.confidences[3], 0.25f);
}

TEST(Subdivide, twice_gives_sixteen_times_the_faces)
{
    for (const SubdivScheme scheme : all_schemes) {
        TriMesh mesh = make_octahedron();
        subdivide(mesh, scheme);
        subdivide(mesh, scheme);
        EXPECT_EQ(mesh.faces.size(), 16 * 8u);
        EXPECT_EQ(mesh.vertices.size(), 66u); // V - E + F = 2 with F = 128, E = 192
        EXPECT_EQ(invariant_violation(mesh), "");
    }
}

TEST(Subdivide, unpacks_strips_and_drops_stale_data)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)});
    mesh.tristrips = {4, 0, 1, 2, 3};
    mesh.ensure_normals();
    mesh.ensure_bounding_box();
    mesh.ensure_vertex_neighbors();
    const std::string log = stderr_of([&] { subdivide(mesh, SubdivScheme::midpoint); });
    EXPECT_NE(log.find("Subdividing mesh... Done.\n"), std::string::npos);
    EXPECT_TRUE(mesh.tristrips.empty());
    EXPECT_EQ(mesh.faces.size(), 8u);
    EXPECT_EQ(mesh.vertices.size(), 9u);
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_FALSE(mesh.bounding_box.valid);
    EXPECT_TRUE(mesh.vertex_neighbors.empty() && mesh.vertex_faces.empty() &&
                mesh.across_edge.empty());
    EXPECT_EQ(invariant_violation(mesh), "");
}

TEST(Subdivide, leaves_a_mesh_without_faces_alone)
{
    TriMesh cloud = make_mesh({Point3(0, 0, 0), Point3(1, 2, 3)});
    subdivide(cloud, SubdivScheme::loop);
    EXPECT_EQ(cloud.vertices, (std::vector<Point3>{Point3(0, 0, 0), Point3(1, 2, 3)}));
    EXPECT_TRUE(cloud.faces.empty());
}
