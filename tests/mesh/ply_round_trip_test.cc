// PLY written and read back in every encoding, with every vertex attribute and
// every surface form: the mesh read must equal the mesh written, and writing
// must not change the mesh.

#include <gtest/gtest.h>

#include <string>

#include "mesh_files.h"
#include "mesh_text.h"
#include "test_support.h"

namespace {

enum class Attributes { none, normals, byte_colors, float_colors, confidences, all };
enum class Surface { faces, strips, grid };

const char *const encoding_prefixes[] = {"ascii:", "be:", "le:"};

// Six vertices with values that print exactly in 7 digits, none at the origin.
TriMesh sample_mesh(Attributes a, Surface s)
{
    TriMesh m = make_mesh({{0.5f, -1.25f, 2}, {1, 0.25f, -3.5f}, {-2, 4, 0.125f},
                           {8, -0.5f, 1.5f}, {3, 3, -1}, {-0.75f, 2.5f, 6}});
    const bool all = a == Attributes::all;
    if (a == Attributes::normals || all)
        m.normals = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}, {0.5f, 0.5f, 0.25f}, {-0.75f, 0, 0.5f}};
    if (a == Attributes::byte_colors || all)
        for (int k : {0, 255, 128, 1, 77, 254})
            m.colors.emplace_back(k / 255.0f, (255 - k) / 255.0f, (k / 2) / 255.0f);
    if (a == Attributes::float_colors)
        m.colors = {{0, 0.25f, 1}, {0.5f, 0.75f, 0.125f}, {1, 1, 1}, {0, 0, 0}, {0.375f, 0.5f, 0.5f}, {0.25f, 0, 1}};
    if (a == Attributes::confidences || all)
        m.confidences = {0.5f, 1, 0.25f, 2, 0, 0.75f};
    switch (s) {
    case Surface::faces: m.faces = {{0, 1, 2}, {0, 2, 3}, {3, 4, 5}, {1, 5, 4}}; break;
    case Surface::strips: m.tristrips = {4, 0, 1, 2, 3, 3, 3, 4, 5}; break;
    case Surface::grid:
        m.grid_cols = 3;
        m.grid_rows = 2;
        m.range_grid = {0, 1, 2, 3, -1, 5};
        break;
    }
    return m;
}

// Byte colours survive as bytes; everything else exactly.
std::vector<unsigned> color_bytes(const TriMesh &m)
{
    std::vector<unsigned> bytes;
    for (const Color &c : m.colors)
        for (int k = 0; k < 3; k++)
            bytes.push_back(color_to_byte(c[k]));
    return bytes;
}

struct Variant {
    const char *encoding;
    Attributes attributes;
    Surface surface;
};

class PlyRoundTrip : public testing::TestWithParam<Variant> {};

TEST_P(PlyRoundTrip, reads_back_what_was_written_and_leaves_the_mesh_alone)
{
    const Variant v = GetParam();
    TempDir dir;
    TriMesh mesh = sample_mesh(v.attributes, v.surface);
    const TriMesh before = mesh;
    const bool normals = v.attributes == Attributes::normals || v.attributes == Attributes::all;
    const bool float_colors = v.attributes == Attributes::float_colors;
    const std::string name = std::string(normals ? "norm:" : "") + (float_colors ? "cflt:" : "") +
                             v.encoding + dir.file("m.ply");
    ASSERT_TRUE(write_captured(name, mesh).ok);
    EXPECT_EQ(mesh_difference(mesh, before), "");

    const ReadOutcome r = read_captured(dir.file("m.ply"));
    ASSERT_TRUE(r.mesh) << r.err;
    const TriMesh &got = *r.mesh;
    EXPECT_EQ(invariant_violation(got), "");
    EXPECT_EQ(got.vertices, mesh.vertices);
    EXPECT_EQ(got.normals, mesh.normals);
    EXPECT_EQ(got.confidences, mesh.confidences);
    if (float_colors)
        EXPECT_EQ(got.colors, mesh.colors);
    else
        EXPECT_EQ(color_bytes(got), color_bytes(mesh));
    EXPECT_EQ(got.tristrips, mesh.tristrips);
    EXPECT_EQ(got.range_grid, mesh.range_grid);
    EXPECT_EQ(got.grid_cols, mesh.grid_cols);
    EXPECT_EQ(got.grid_rows, mesh.grid_rows);
    if (v.surface == Surface::grid)
        EXPECT_EQ(got.faces, (std::vector<Face>{{0, 1, 3}, {1, 2, 5}}));
    else
        EXPECT_EQ(got.faces, mesh.faces);
}

std::vector<Variant> all_variants()
{
    std::vector<Variant> variants;
    for (const char *e : encoding_prefixes)
        for (Attributes a : {Attributes::none, Attributes::normals, Attributes::byte_colors,
                             Attributes::float_colors, Attributes::confidences, Attributes::all})
            for (Surface s : {Surface::faces, Surface::strips, Surface::grid})
                variants.push_back({e, a, s});
    return variants;
}

std::string variant_name(const testing::TestParamInfo<Variant> &info)
{
    static const char *const attributes[] = {"bare", "normals", "byte_colors", "float_colors",
                                             "confidences", "all"};
    static const char *const surfaces[] = {"faces", "strips", "grid"};
    std::string e = info.param.encoding;
    e.pop_back();
    return e + "_" + attributes[int(info.param.attributes)] + "_" + surfaces[int(info.param.surface)];
}

INSTANTIATE_TEST_SUITE_P(AllVariants, PlyRoundTrip, testing::ValuesIn(all_variants()), variant_name);

} // namespace

TEST(PlyWrite, nogrid_prefix_writes_the_grid_as_faces)
{
    TempDir dir;
    TriMesh mesh = sample_mesh(Attributes::none, Surface::grid);
    ASSERT_TRUE(write_captured("nogrid:" + dir.file("m.ply"), mesh).ok);
    const ReadOutcome r = read_captured(dir.file("m.ply"));
    ASSERT_TRUE(r.mesh);
    EXPECT_TRUE(r.mesh->range_grid.empty());
    EXPECT_EQ(r.mesh->grid_cols, -1);
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 3}, {1, 2, 5}}));
}

TEST(PlyWrite, normals_are_left_out_without_the_norm_prefix)
{
    TempDir dir;
    TriMesh mesh = sample_mesh(Attributes::normals, Surface::faces);
    ASSERT_TRUE(write_captured(dir.file("m.ply"), mesh).ok);
    EXPECT_EQ(read_file(dir.file("m.ply")).find("nx"), std::string::npos);
}

TEST(PlyWrite, ascii_file_has_the_exact_header_and_lines)
{
    TempDir dir;
    TriMesh mesh = make_mesh({{0.5f, -1.25f, 2}, {1, 2, 3}, {4, 5, 6}}, {{0, 1, 2}});
    mesh.colors = {{1.0f, 0.5f, 0.0f}, {0, 0, 0}, {1, 1, 1}};
    mesh.confidences = {0.25f, 1, 2};
    ASSERT_TRUE(write_captured("asc:" + dir.file("m.ply"), mesh).ok);
    EXPECT_EQ(read_file(dir.file("m.ply")),
              "ply\nformat ascii 1.0\nelement vertex 3\n"
              "property float x\nproperty float y\nproperty float z\n"
              "property uchar diffuse_red\nproperty uchar diffuse_green\nproperty uchar diffuse_blue\n"
              "property float confidence\n"
              "element face 1\nproperty list uchar int vertex_indices\nend_header\n"
              "0.5 -1.25 2 255 128 0 0.25\n1 2 3 0 0 0 1\n4 5 6 255 255 255 2\n3 0 1 2\n");
}

TEST(PlyWrite, ascii_strips_are_one_line_of_terminated_strips)
{
    TempDir dir;
    TriMesh mesh = make_mesh({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 1, 1}});
    mesh.tristrips = {3, 0, 1, 2, 2, 3, 4};
    ASSERT_TRUE(write_captured("ascii:" + dir.file("s.ply"), mesh).ok);
    const std::string text = read_file(dir.file("s.ply"));
    EXPECT_NE(text.find("element tristrips 1\nproperty list int int vertex_indices\nend_header\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.rfind("1 1 1\n") + 6), "7 0 1 2 -1 3 4 -1 \n");
    const ReadOutcome r = read_captured(dir.file("s.ply"));
    ASSERT_TRUE(r.mesh);
    EXPECT_EQ(r.mesh->tristrips, mesh.tristrips);
}

TEST(PlyWrite, big_endian_body_holds_reversed_bytes)
{
    TempDir dir;
    TriMesh mesh = make_mesh({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{0, 1, 2}});
    ASSERT_TRUE(write_captured("ply_binary_be:" + dir.file("m.ply"), mesh).ok);
    const std::string text = read_file(dir.file("m.ply"));
    const std::string body = text.substr(text.find("end_header\n") + 11);
    Bytes want(true);
    want.point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).tri(0, 1, 2);
    EXPECT_EQ(body, want.str());
}

TEST(PlyWrite, byte_colours_round_and_clamp_and_map_nan_to_zero)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(color_to_byte(1.0f), 255);
    EXPECT_EQ(color_to_byte(0.5f), 128);
    EXPECT_EQ(color_to_byte(0.0f), 0);
    EXPECT_EQ(color_to_byte(-0.3f), 0);
    EXPECT_EQ(color_to_byte(7.0f), 255);
    EXPECT_EQ(color_to_byte(inf), 255);
    EXPECT_EQ(color_to_byte(-inf), 0);
    EXPECT_EQ(color_to_byte(std::numeric_limits<float>::quiet_NaN()), 0);

    TempDir dir;
    TriMesh mesh = make_mesh({{1, 2, 3}});
    mesh.colors = {{std::numeric_limits<float>::quiet_NaN(), inf, -inf}};
    ASSERT_TRUE(write_captured("ascii:" + dir.file("c.ply"), mesh).ok);
    const std::string text = read_file(dir.file("c.ply"));
    EXPECT_EQ(text.substr(text.find("end_header\n") + 11), "1 2 3 0 255 0\n");
}
