// Files as other tools write them: PLY with other property types and extra
// properties, OFF with colours and normals, STL in both encodings.

#include <gtest/gtest.h>

#include "mesh_files.h"
#include "mesh_io.h"
#include "test_support.h"

namespace {

std::unique_ptr<TriMesh> read_text(const TempDir &dir, const std::string &contents,
                                   const std::string &name = "in.ply")
{
    write_file(dir.file(name), contents);
    testing::internal::CaptureStderr();
    auto mesh = read_mesh(dir.file(name).c_str());
    testing::internal::GetCapturedStderr();
    return mesh;
}

const std::vector<Point3> unit_triangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};

} // namespace

TEST(ForeignPly, reads_double_positions_normals_and_confidences_in_every_encoding)
{
    TempDir dir;
    const std::string header_end =
        "element vertex 3\nproperty double x\nproperty double y\nproperty double z\n"
        "property float64 nx\nproperty float64 ny\nproperty float64 nz\nproperty double confidence\n"
        "element face 1\nproperty list uchar uint vertex_indices\nend_header\n";
    for (const bool big : {false, true}) {
        Bytes b(big);
        b.text(std::string("ply\nformat ") + (big ? "binary_big_endian" : "binary_little_endian") +
               " 1.0\n" + header_end);
        for (const Point3 &p : unit_triangle)
            b.f64(p.x).f64(p.y).f64(p.z).f64(0.0).f64(0.0).f64(1.0).f64(0.5);
        b.u8(3).i32(0).i32(1).i32(2);
        const auto mesh = read_text(dir, b.str());
        ASSERT_TRUE(mesh) << (big ? "big" : "little");
        EXPECT_EQ(mesh->vertices, unit_triangle);
        EXPECT_EQ(mesh->normals, std::vector<Point3>(3, Point3(0, 0, 1)));
        EXPECT_EQ(mesh->confidences, std::vector<float>(3, 0.5f));
        EXPECT_EQ(mesh->faces, std::vector<Face>{Face(0, 1, 2)});
    }
    const auto mesh = read_text(dir, "ply\nformat ascii 1.0\n" + header_end +
                                         "0 0 0 0 0 1 0.5\n1 0 0 0 0 1 0.5\n0 1 0 0 0 1 0.5\n3 0 1 2\n");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices, unit_triangle);
    EXPECT_EQ(mesh->confidences, std::vector<float>(3, 0.5f));
}

TEST(ForeignPly, scales_sixteen_bit_colours_and_takes_float_colours_as_they_are)
{
    TempDir dir;
    const std::string top = "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\n"
                            "property float z\n";
    auto mesh = read_text(dir, top + "property ushort red\nproperty ushort green\nproperty ushort blue\n"
                                     "end_header\n0 0 0 65535 0 13107\n");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->colors, std::vector<Color>{Color(1, 0, 0.2f)});
    mesh = read_text(dir, top + "property double red\nproperty double green\nproperty double blue\n"
                                "end_header\n0 0 0 0.25 0.5 1\n");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->colors, std::vector<Color>{Color(0.25f, 0.5f, 1)});
}

TEST(ForeignPly, reads_index_lists_of_every_integer_type)
{
    TempDir dir;
    const char *types[][2] = {{"uchar", "uint"}, {"ushort", "ushort"}, {"int", "uint"}, {"char", "short"},
                              {"uint8", "uint16"}, {"uint32", "uint32"}, {"int16", "int8"}};
    for (const auto &t : types) {
        Bytes b;
        b.text("ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\n"
               "property float y\nproperty float z\nelement face 1\nproperty list " +
               std::string(t[0]) + " " + t[1] + " vertex_indices\nend_header\n");
        for (const Point3 &p : unit_triangle)
            b.point(p.x, p.y, p.z);
        const auto put_int = [&](const std::string &type, int v) {
            if (type.find('8') != std::string::npos || type.find("char") != std::string::npos)
                b.u8(unsigned(v));
            else if (type.find("16") != std::string::npos || type.find("short") != std::string::npos)
                b.u16(unsigned(v));
            else
                b.i32(v);
        };
        put_int(t[0], 3);
        for (int v : {2, 1, 0})
            put_int(t[1], v);
        const auto mesh = read_text(dir, b.str());
        ASSERT_TRUE(mesh) << t[0] << " " << t[1];
        EXPECT_EQ(mesh->faces, std::vector<Face>{Face(2, 1, 0)}) << t[0] << " " << t[1];
    }
}

TEST(ForeignPly, skips_extra_scalars_lists_and_elements)
{
    TempDir dir;
    // Texture-coordinate lists in the face element, an element with lists
    // between vertices and faces, comments and obj_info among the properties.
    const std::string header =
        "element vertex 3\ncomment positions\nproperty float x\nproperty float y\nproperty float z\n"
        "obj_info late\nproperty uchar alpha\nelement edge 1\nproperty list uchar int ends\n"
        "property short weight\nelement face 2\nproperty uchar flags\n"
        "property list uchar float texcoord\nproperty list uchar int vertex_indices\n"
        "comment between\nproperty double quality\nelement material 1\nproperty list uchar uchar name\n"
        "end_header\n";
    Bytes b(true);
    b.text("ply\nformat binary_big_endian 1.0\n" + header);
    for (const Point3 &p : unit_triangle)
        b.point(p.x, p.y, p.z).u8(255);
    b.u8(2).i32(0).i32(1).u16(7);
    for (int f = 0; f < 2; f++) {
        b.u8(9).u8(2).f32(0.5f).f32(0.25f);
        b.u8(3).i32(0).i32(f + 1).i32(2 - f).f64(1.0);
    }
    auto mesh = read_text(dir, b.str());
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices, unit_triangle);
    EXPECT_EQ(mesh->faces, (std::vector<Face>{Face(0, 1, 2), Face(0, 2, 1)}));

    mesh = read_text(dir, "ply\nformat ascii 1.0\n" + header +
                              "0 0 0 255\n1 0 0 255\n0 1 0 255\n2 0 1 7\n"
                              "9 2 0.5 0.25 3 0 1 2 1.0\n9 2 0.5 0.25 3 0 2 1 1.0\n");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->faces, (std::vector<Face>{Face(0, 1, 2), Face(0, 2, 1)}));
}

TEST(ForeignPly, still_rejects_a_list_among_vertex_properties)
{
    TempDir dir;
    const std::string text = "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\n"
                             "property float z\nproperty list uchar float extra\nend_header\n0 0 0 0\n";
    write_file(dir.file("in.ply"), text);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(read_mesh(dir.file("in.ply").c_str()));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "Unsupported vertex property: [property list uchar float extra\n]."),
              std::string::npos);
}

TEST(ForeignOff, reads_colours_normals_and_homogeneous_positions)
{
    TempDir dir;
    auto mesh = read_text(dir, "COFF\n3 1 0\n0 0 0 255 0 0 255\n1 0 0 0 255 0 255\n0 1 0 0 0 51 255\n"
                               "3 0 1 2 9 9 9\n", "a.off");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices, unit_triangle);
    EXPECT_EQ(mesh->colors, (std::vector<Color>{Color(1, 0, 0), Color(0, 1, 0), Color(0, 0, 0.2f)}));
    EXPECT_EQ(mesh->faces, std::vector<Face>{Face(0, 1, 2)});

    mesh = read_text(dir, "CNOFF\n# normals then float colours\n3 1 0\n0 0 0 0 0 1 0.5 0.5 0.5\n"
                          "1 0 0 0 0 1 1 1 1\n0 1 0 0 0 1 0 0 0\n3 0 1 2\n", "b.off");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->normals, std::vector<Point3>(3, Point3(0, 0, 1)));
    EXPECT_EQ(mesh->colors[0], Color(0.5f, 0.5f, 0.5f));

    mesh = read_text(dir, "ST4OFF\n3 1 0\n0 0 0 2 0.1 0.2\n2 0 0 2 0.3 0.4\n0 4 0 4 0 0\n3 0 1 2\n", "c.off");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices, unit_triangle);

    // A count-first file that starts with 4 is still one.
    mesh = read_text(dir, "3\n0 0 0\n1 0 0\n0 1 0\n1\n0 1 2\n", "d.sm");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->faces, std::vector<Face>{Face(0, 1, 2)});
    mesh = read_text(dir, "4\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n1\n0 1 2\n", "e.sm");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices.size(), 4u);
}

TEST(ForeignOff, rejects_vertex_lines_without_the_announced_attributes)
{
    TempDir dir;
    EXPECT_FALSE(read_text(dir, "NOFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", "a.off"));
}

TEST(Stl, reads_binary_and_ascii_files_with_shared_corners_welded)
{
    TempDir dir;
    // Two triangles sharing an edge; the header begins with "solid" as some
    // writers' binary files do.
    Bytes b;
    std::string header = "solid but binary";
    header.resize(80, ' ');
    b.text(header).i32(2);
    const Point3 corners[2][3] = {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}};
    for (const auto &tri : corners) {
        b.f32(0.0f).f32(0.0f).f32(1.0f);
        for (const Point3 &p : tri)
            b.point(p.x, p.y, p.z);
        b.u16(0);
    }
    auto mesh = read_text(dir, b.str(), "a.stl");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices.size(), 4u);
    EXPECT_EQ(mesh->faces, (std::vector<Face>{Face(0, 1, 2), Face(1, 3, 2)}));

    mesh = read_text(dir,
                     "solid two\n facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n"
                     "   vertex 0 1 0\n  endloop\n endfacet\n facet normal 0 0 1\n  outer loop\n"
                     "   vertex 1 0 0\n   vertex 1 1 0\n   vertex -0 1 0\n  endloop\n endfacet\nendsolid two\n",
                     "b.stl");
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->vertices.size(), 4u);
    EXPECT_EQ(mesh->faces, (std::vector<Face>{Face(0, 1, 2), Face(1, 3, 2)}));
}

TEST(Stl, writes_both_encodings_that_read_back_with_facet_normals)
{
    TempDir dir;
    TriMesh mesh = make_grid_mesh(3);
    for (const std::string &name : {"stl:" + dir.file("a.bin"), "stl_ascii:" + dir.file("b.txt"),
                                   dir.file("c.stl")}) {
        testing::internal::CaptureStderr();
        ASSERT_TRUE(write_mesh(name.c_str(), mesh));
        const std::string path = name.substr(name.find(dir.path()));
        const auto back = read_mesh(path.c_str());
        testing::internal::GetCapturedStderr();
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(back->vertices.size(), mesh.vertices.size()) << name;
        ASSERT_EQ(back->faces.size(), mesh.faces.size()) << name;
        for (size_t f = 0; f < mesh.faces.size(); f++)
            for (int c = 0; c < 3; c++)
                EXPECT_EQ(back->vertices[back->faces[f][c]], mesh.vertices[mesh.faces[f][c]]);
    }
    const std::string text = read_file(dir.file("b.txt"));
    EXPECT_EQ(text.rfind("solid", 0), 0u);
    EXPECT_NE(text.find("facet normal 0 0 1\n"), std::string::npos);
    EXPECT_EQ(read_file(dir.file("a.bin")).size(), 84u + 50u * mesh.faces.size());
}
