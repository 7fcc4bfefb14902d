// Stripline end to end with the options for strips, vertex order, removal,
// clipping, orientation and flips: real processes on real files.

#include <gtest/gtest.h>

#include "mesh_io.h"
#include "test_meshes.h"
#include "test_support.h"

namespace {

// Writes `input` as in.ply, runs Stripline on it with the options and an
// output out.ply, and reads the output back (null when none was written).
struct FilterResult {
    ProcessResult process;
    std::unique_ptr<TriMesh> mesh;
};

FilterResult run_filter(TriMesh input, const std::vector<std::string> &options)
{
    TempDir dir;
    const std::string in = dir.file("in.ply"), out = dir.file("out.ply");
    EXPECT_TRUE(write_mesh(in.c_str(), input));
    std::vector<std::string> args = {in};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(out);
    FilterResult result{run_program("Stripline", args), nullptr};
    if (file_exists(out))
        result.mesh = read_mesh(out.c_str());
    return result;
}

std::vector<Point3> numbered_vertices(int n)
{
    std::vector<Point3> v;
    for (int i = 0; i < n; i++)
        v.emplace_back(float(i), float(i * i), 1.0f);
    return v;
}

} // namespace

TEST(StriplineTopology, tstrip_and_its_aliases_write_the_strips_built)
{
    for (const char *option : {"-tstrip", "-tstrips", "-strip", "-strips"}) {
        const auto r = run_filter(make_mesh(numbered_vertices(4), {{0, 1, 2}, {2, 1, 3}}), {option});
        ASSERT_TRUE(r.mesh) << option;
        EXPECT_EQ(r.mesh->tristrips, (std::vector<int>{4, 3, 2, 1, 0})) << option;
        EXPECT_NE(r.process.err.find("1 strips (Avg. length 2.0)"), std::string::npos);
    }
}

TEST(StriplineTopology, reorder_renumbers_by_first_use)
{
    const auto r = run_filter(make_mesh(numbered_vertices(6), {{5, 3, 4}, {3, 4, 0}}), {"-reorder"});
    ASSERT_TRUE(r.mesh);
    const std::vector<Point3> v = numbered_vertices(6);
    EXPECT_EQ(r.mesh->vertices, (std::vector<Point3>{v[5], v[3], v[4], v[0], v[1], v[2]}));
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}, {1, 2, 3}}));
}

TEST(StriplineTopology, removal_options_remove_what_they_mark)
{
    TempDir dir;
    write_file(dir.file("box"), "0 0 -1 1 2 1");
    TriMesh sliver = make_grid_mesh(21);  // unit squares, and one long sliver
    const int n = int(sliver.vertices.size());
    sliver.vertices.insert(sliver.vertices.end(), {{100, 0, 0}, {200, 0, 0}, {150, 1, 0}});
    sliver.faces.emplace_back(n, n + 1, n + 2);
    struct Case {
        std::vector<std::string> options;
        TriMesh input;
        size_t vertices, faces;
        std::string log;
    };
    const Case cases[] = {
        {{"-rmverts"}, make_mesh(numbered_vertices(5), {{0, 2, 3}}), 3, 1, "2 vertices removed... Done.\n"},
        {{"-rmverts"}, make_grid_mesh(3), 9, 8, "Removing vertices... None removed.\n"},
        {{"-rmfaces"}, sliver, size_t(n + 3), 800, "1 faces removed... Done.\n"},
        {{"-erode"}, make_grid_mesh(4), 4, 2, "12 vertices removed... Done.\n"},
        {{"-clip", dir.file("box")}, make_grid_mesh(3), 6, 4, "3 vertices removed... Done.\n"},
        {{"-clip", dir.file("none")}, make_grid_mesh(3), 9, 8, "Couldn't open " + dir.file("none") + "\n"},
    };
    for (const Case &c : cases) {
        const auto r = run_filter(c.input, c.options);
        ASSERT_TRUE(r.mesh) << c.options[0];
        EXPECT_EQ(r.mesh->vertices.size(), c.vertices) << c.options[0];
        EXPECT_EQ(r.mesh->faces.size(), c.faces) << c.options[0];
        EXPECT_NE(r.process.err.find(c.log), std::string::npos) << c.options[0] << r.process.err;
    }
}

TEST(StriplineTopology, orient_turns_an_inward_cube_and_strips_come_back)
{
    TriMesh inward = make_mesh(cube_vertices());
    for (Face f : cube_faces())
        inward.faces.emplace_back(f[0], f[2], f[1]);
    const auto r = run_filter(inward, {"-orient"});
    ASSERT_TRUE(r.mesh);
    EXPECT_EQ(r.mesh->faces, cube_faces());

    // A strip input: the strips are rebuilt from the turned faces on writing.
    inward.ensure_tristrips();
    inward.faces.clear();
    const auto s = run_filter(inward, {"-orient"});
    ASSERT_TRUE(s.mesh);
    ASSERT_FALSE(s.mesh->tristrips.empty());
    EXPECT_EQ(canonical(strip_triangles(*s.mesh)), canonical(cube_faces()));
}

TEST(StriplineTopology, faceflip_reverses_strips)
{
    TriMesh m = make_mesh(numbered_vertices(5));
    m.tristrips = {5, 0, 1, 2, 3, 4};  // (0,1,2) (2,1,3) (2,3,4)
    const auto r = run_filter(m, {"-faceflip"});
    ASSERT_TRUE(r.mesh);
    EXPECT_EQ(canonical(strip_triangles(*r.mesh)), canonical({{2, 1, 0}, {3, 1, 2}, {4, 3, 2}}));
}

TEST(StriplineTopology, edgeflip_then_strips_give_the_flipped_triangles)
{
    const auto r = run_filter(rhombus_with_one_sided_link(), {"-edgeflip"});
    ASSERT_TRUE(r.mesh);
    EXPECT_EQ(r.mesh->faces, rhombus_with_one_sided_link_flipped());
    EXPECT_NE(r.process.err.find("Encountered error in flip_benefit()\n"), std::string::npos);

    const auto s = run_filter(rhombus_with_one_sided_link(), {"-edgeflip", "-tstrip"});
    ASSERT_TRUE(s.mesh);
    EXPECT_EQ(canonical(strip_triangles(*s.mesh)), canonical(rhombus_with_one_sided_link_flipped()));
}

TEST(StriplineTopology, sample_reordered_and_stripped_stays_a_closed_surface)
{
    TempDir dir;
    const std::string out = dir.file("out.ply");
    const ProcessResult p =
        run_program("Stripline", {samples_dir() + "/bumpy_torus.ply", "-reorder", "-tstrip", out});
    EXPECT_EQ(p.status, 0);
    const auto m = read_mesh(out.c_str());
    ASSERT_TRUE(m);
    ASSERT_FALSE(m->tristrips.empty());
    const std::vector<Face> triangles = strip_triangles(*m);
    EXPECT_EQ(triangles.size(), 4608u);
    EXPECT_TRUE(every_edge_once_each_way(triangles));
}
