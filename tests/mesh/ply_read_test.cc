// Reading PLY headers and bodies: layouts, spellings, byte orders, the surface
// forms, and the exact messages for faulty files.

#include <gtest/gtest.h>

#include "mesh_files.h"
#include "test_support.h"

namespace {


// Writes `contents` to a file of a fresh folder and reads it.
struct ReadFile {
    TempDir dir;
    std::string path = dir.file("m.ply");
    ReadOutcome r;
    explicit ReadFile(const std::string &contents) : r(read_bytes(contents, dir, "m.ply")) {}
    // What a failed read prints around the reader's own message.
    std::string failure(const std::string &message) const
    {
        return "Reading " + path + "... " + message + "Error reading file [" + path + "].\n";
    }
};

std::string ascii_header(const std::string &elements)
{
    return "ply\nformat ascii 1.0\n" + elements + "end_header\n";
}

// A binary little-endian PLY header around the given element lines.
std::string le_header(const std::string &elements)
{
    return "ply\nformat binary_little_endian 1.0\n" + elements + "end_header\n";
}

} // namespace

TEST(PlyRead, obj_info_sets_the_grid_width_only_before_the_first_element)
{
    const std::string body = "element vertex 1\n" + ply_xyz + "end_header\n1 2 3\n";
    ReadFile before("ply\nformat ascii 1.0\ncomment scanner\nobj_info num_cols 640\n" + body);
    ASSERT_TRUE(before.r.mesh);
    EXPECT_EQ(before.r.mesh->grid_cols, 640);
    ReadFile after("ply\nformat ascii 1.0\nelement extra 0\nobj_info num_cols 640\n" + body);
    ASSERT_TRUE(after.r.mesh);
    EXPECT_EQ(after.r.mesh->grid_cols, -1);
}

TEST(PlyRead, position_declared_as_integers_is_no_position)
{
    ReadFile f(ascii_header("element vertex 1\nproperty int x\nproperty int y\nproperty int z\n") +
               "1 2 3\n");
    EXPECT_FALSE(f.r.mesh);
    EXPECT_EQ(f.r.err, f.failure(""));
}

TEST(PlyRead, alpha_byte_after_the_colour_is_skipped)
{
    Bytes b;
    b.text(le_header("element vertex 2\n" + ply_xyz +
                     "property uchar red\nproperty uchar green\nproperty uchar blue\nproperty uchar alpha\n"));
    b.point(1, 2, 3).u8(255).u8(0).u8(51).u8(9).point(4, 5, 6).u8(0).u8(255).u8(102).u8(9);
    ReadFile f(b.str());
    ASSERT_TRUE(f.r.mesh) << f.r.err;
    EXPECT_EQ(f.r.mesh->vertices, (std::vector<Point3>{{1, 2, 3}, {4, 5, 6}}));
    ASSERT_EQ(f.r.mesh->colors.size(), 2u);
    EXPECT_FLOAT_EQ(f.r.mesh->colors[1].b, 0.4f);
    EXPECT_EQ(f.r.mesh->colors[0].r, 1.0f);
}

TEST(PlyRead, vertex_index_spelling_and_quads_split_along_the_shorter_diagonal)
{
    // Quad a b c d with diagonal a-c shorter than b-d, then a square (a tie).
    Bytes b;
    b.text(le_header("element vertex 8\n" + ply_xyz + "element face 2\nproperty list uchar int vertex_index\n"));
    b.point(0, 0, 1).point(2, -1, 1).point(1, 0, 1).point(2, 1, 1);
    b.point(0, 0, 2).point(1, 0, 2).point(1, 1, 2).point(0, 1, 2);
    b.u8(4).i32(0).i32(1).i32(2).i32(3).u8(4).i32(4).i32(5).i32(6).i32(7);
    ReadFile f(b.str());
    ASSERT_TRUE(f.r.mesh) << f.r.err;
    EXPECT_EQ(f.r.mesh->faces, (std::vector<Face>{{0, 1, 2}, {0, 2, 3}, {5, 6, 7}, {5, 7, 4}}));
}

TEST(PlyRead, wrong_byte_order_in_the_header_is_compensated_throughout)
{
    const float x = byte_order_probe();
    Bytes b(true);
    b.text(le_header("element vertex 3\n" + ply_xyz + "element face 1\n" + ply_face_list));
    b.point(x, 2, 3).point(4, 5, 6).point(7, 8, 9).tri(2, 1, 0);
    ReadFile f(b.str());
    ASSERT_TRUE(f.r.mesh) << f.r.err;
    EXPECT_EQ(f.r.mesh->vertices, (std::vector<Point3>{{x, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    EXPECT_EQ(f.r.mesh->faces, (std::vector<Face>{{2, 1, 0}}));
    EXPECT_EQ(f.r.err, "Reading " + f.path + "... Compensating for bogus endianness...\n"
                       "\n  Reading 3 vertices... \n  Reading 1 faces... Done.\n");
}

TEST(PlyRead, range_grid_cells_with_counts_one_one_one_zero_give_one_face)
{
    for (bool ascii : {true, false}) {
        Bytes b;
        const std::string elements = "obj_info num_cols 2\nobj_info num_rows 2\nelement vertex 3\n" + ply_xyz +
                                     "element range_grid 4\n" + ply_face_list;
        if (ascii) {
            b.text("ply\nformat ascii 1.0\n" + elements + "end_header\n1 2 3\n4 5 6\n7 8 10\n1 0\n1 1\n1 2\n0\n");
        } else {
            b.text("ply\nformat binary_little_endian 1.0\n" + elements + "end_header\n");
            b.point(1, 2, 3).point(4, 5, 6).point(7, 8, 10);
            b.u8(1).i32(0).u8(1).i32(1).u8(1).i32(2).u8(0);
        }
        ReadFile f(b.str());
        ASSERT_TRUE(f.r.mesh) << f.r.err;
        EXPECT_EQ(f.r.mesh->range_grid, (std::vector<int>{0, 1, 2, -1})) << ascii;
        EXPECT_EQ(f.r.mesh->faces, (std::vector<Face>{{0, 1, 2}})) << ascii;
    }
}

TEST(PlyRead, face_element_with_count_zero_needs_no_list)
{
    ReadFile f(ascii_header("element vertex 1\n" + ply_xyz + "element face 0\n") + "1 2 3\n");
    ASSERT_TRUE(f.r.mesh) << f.r.err;
    EXPECT_TRUE(f.r.mesh->faces.empty());
}

TEST(PlyRead, elements_before_and_between_are_skipped)
{
    for (bool ascii : {true, false}) {
        const std::string elements = "element camera 2\nproperty float a\nproperty uchar b\nelement vertex 3\n" +
                                     ply_xyz + "element material 1\nproperty short s\nproperty double d\n" +
                                     "element face 1\nproperty uchar flags\n" + ply_face_list +
                                     "property int after\n";
        Bytes b;
        if (ascii) {
            b.text(ascii_header(elements) + "9 9\n9 9\n1 2 3\n4 5 6\n7 8 9\n9 9\n7 3 0 1 2 5\n");
        } else {
            b.text(le_header(elements)).f32(9).u8(9).f32(9).u8(9).point(1, 2, 3).point(4, 5, 6).point(7, 8, 9);
            b.u16(9).f64(9).u8(7).tri(0, 1, 2).i32(5);
        }
        ReadFile f(b.str());
        ASSERT_TRUE(f.r.mesh) << f.r.err;
        EXPECT_EQ(f.r.mesh->vertices, (std::vector<Point3>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}})) << ascii;
        EXPECT_EQ(f.r.mesh->faces, (std::vector<Face>{{0, 1, 2}})) << ascii;
    }
}

TEST(PlyRead, the_same_byte_colours_read_alike_from_text_and_binary)
{
    std::string text = ascii_header("element vertex 256\n" + ply_xyz +
                                    "property uchar red\nproperty uchar green\nproperty uchar blue\n");
    Bytes b;
    b.text(le_header("element vertex 256\n" + ply_xyz +
                     "property uchar red\nproperty uchar green\nproperty uchar blue\n"));
    for (int k = 0; k < 256; k++) {
        text += "1 2 3 " + std::to_string(k) + " 0 0\n";
        b.point(1, 2, 3).u8(k).u8(0).u8(0);
    }
    ReadFile from_text(text), from_binary(b.str());
    ASSERT_TRUE(from_text.r.mesh && from_binary.r.mesh);
    int differing = 0, first = -1;
    for (int k = 0; k < 256; k++)
        if (from_text.r.mesh->colors[k] != from_binary.r.mesh->colors[k] && differing++ == 0)
            first = k;
    EXPECT_EQ(differing, 0) << "first differing byte value " << first;
}

TEST(PlyRead, faulty_headers_give_their_messages)
{
    const struct {
        std::string file, message;
    } cases[] = {
        {"ply\nformat binary_little_endian 2.0\n", "Unknown ply format or version.\n"},
        {"ply\nformat ascii 1.0\nend_header\n", "Expected \"element vertex\".\n"},
        {ascii_header("element vertex 1\n" + ply_xyz + "property list uchar int foo\n"),
         "Unsupported vertex property: [property list uchar int foo\n].\n"},
        {ascii_header("element extra 1\nproperty quad q\nelement vertex 1\n" + ply_xyz),
         "Unsupported vertex property: [property quad q\n].\n"},
        {"ply\nformat ascii 1.0\nobj_info num_cols 2\nobj_info num_rows 3\nelement vertex 1\n" + ply_xyz +
             "element range_grid 5\n" + ply_face_list + "end_header\n1 2 3\n",
         "Range grid size does not equal num_rows*num_cols.\n"},
    };
    for (const auto &c : cases) {
        ReadFile f(c.file);
        EXPECT_FALSE(f.r.mesh) << c.message;
        EXPECT_EQ(f.r.err, f.failure(c.message));
    }
}

TEST(PlyRead, unreadable_face_counts_and_indices_name_the_face)
{
    const std::string head = ascii_header("element vertex 3\n" + ply_xyz + "element face 2\n" + ply_face_list) +
                             "1 2 3\n4 5 6\n7 8 9\n3 0 1 2\n";
    const std::string reading = "\n  Reading 3 vertices... \n  Reading 2 faces... ";
    ReadFile count(head + "x\n");
    EXPECT_EQ(count.r.err, count.failure(reading + "Couldn't read vertex count for face 1\n"));
    ReadFile index(head + "3 0 1\n");
    EXPECT_EQ(index.r.err, index.failure(reading + "Couldn't read vertex index 2 for face 1\n"));
}

TEST(PlyRead, carriage_return_after_end_header_in_binary_warns_and_reads_on)
{
    Bytes b;
    b.text("ply\r\nformat binary_little_endian 1.0\r\nelement vertex 1\r\nproperty float x\r\n"
           "property float y\r\nproperty float z\r\nend_header\r\n");
    b.point(1, 2, 3);
    ReadFile f(b.str());
    EXPECT_NE(f.r.err.find("Warning: possibly corrupt file. (Transferred as ASCII instead of BINARY?)\n"),
              std::string::npos);
}

TEST(PlyRead, terminated_strips_become_counted_and_short_strips_are_stepped_over)
{
    Bytes b;
    b.text(le_header("element vertex 4\n" + ply_xyz + "element tristrips 1\nproperty list int int vertex_indices\n"));
    b.point(1, 0, 0).point(0, 1, 0).point(0, 0, 1).point(1, 1, 1);
    b.i32(8).i32(0).i32(1).i32(-1).i32(1).i32(2).i32(3).i32(0).i32(-1);
    ReadFile f(b.str());
    ASSERT_TRUE(f.r.mesh) << f.r.err;
    EXPECT_EQ(f.r.mesh->tristrips, (std::vector<int>{2, 0, 1, 4, 1, 2, 3, 0}));
    f.r.mesh->ensure_faces();
    EXPECT_EQ(f.r.mesh->faces, (std::vector<Face>{{1, 2, 3}, {3, 2, 0}}));
}
