#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"
#include "xform_file.h"

TEST(XformFile, writes_one_matrix_row_per_line)
{
    TempDir dir;
    ASSERT_TRUE(write_xform_file(dir.file("id.xf"), Matrix4()));
    EXPECT_EQ(read_file(dir.file("id.xf")), "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
    ASSERT_TRUE(write_xform_file(dir.file("t.xf"), Matrix4::translation(1.5, -2, 1e-05)));
    EXPECT_EQ(read_file(dir.file("t.xf")), "1 0 0 1.5\n0 1 0 -2\n0 0 1 1e-05\n0 0 0 1\n");
}

TEST(XformFile, round_trips_a_transform)
{
    TempDir dir;
    Matrix4 xf = Matrix4::translation(1.25, -7, 123456) * Matrix4::scale(0.5, 2, 4);
    xf(3, 1) = 0.125;
    ASSERT_TRUE(write_xform_file(dir.file("m.xf"), xf));
    Matrix4 read;
    ASSERT_TRUE(read_xform_file(dir.file("m.xf"), read));
    EXPECT_EQ(read, xf);
}

TEST(XformFile, reads_with_or_without_space_after_the_last_number)
{
    TempDir dir;
    const std::string numbers = "2 0 0 1\t0 2 0 2\n\n0 0 2 3 0 0 0 1";
    const Matrix4 expected = Matrix4::translation(1, 2, 3) * Matrix4::scale(2);
    for (const std::string tail : {"", "\n", "  \n", " 99 trailing words"}) {
        write_file(dir.file("a.xf"), numbers + tail);
        Matrix4 xf;
        ASSERT_TRUE(read_xform_file(dir.file("a.xf"), xf)) << "tail [" << tail << "]";
        EXPECT_EQ(xf, expected);
    }
}

TEST(XformFile, failed_read_leaves_the_transform_unchanged)
{
    TempDir dir;
    const Matrix4 before = Matrix4::translation(9, 9, 9);
    for (const std::string text : {"", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0", "1 0 0 x 0 1 0 0"}) {
        write_file(dir.file("bad.xf"), text);
        Matrix4 xf = before;
        EXPECT_FALSE(read_xform_file(dir.file("bad.xf"), xf)) << "text [" << text << "]";
        EXPECT_EQ(xf, before);
    }
    Matrix4 xf = before;
    EXPECT_FALSE(read_xform_file(dir.file("missing.xf"), xf));
    EXPECT_EQ(xf, before);
}

TEST(XformFile, write_replaces_the_file_whole_or_not_at_all)
{
    TempDir dir;
    write_file(dir.file("m.xf"), "old contents that are longer than the new ones, by far, really");
    ASSERT_TRUE(write_xform_file(dir.file("m.xf"), Matrix4()));
    EXPECT_EQ(read_file(dir.file("m.xf")), "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
    EXPECT_FALSE(write_xform_file(dir.file("no/such/folder/m.xf"), Matrix4()));
    // Nothing but the one file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.path()))
        files++;
    EXPECT_EQ(files, 1);
}

TEST(XformFile, name_replaces_the_extension_of_the_file_only)
{
    EXPECT_EQ(transform_file_name("scans/bunny.ply"), "scans/bunny.xf");
    EXPECT_EQ(transform_file_name("a.b.obj"), "a.b.xf");
    EXPECT_EQ(transform_file_name("mesh"), "mesh.xf");
    EXPECT_EQ(transform_file_name("scans.v2/mesh"), "scans.v2/mesh.xf");
    EXPECT_EQ(transform_file_name("C:\\m.d\\mesh"), "C:\\m.d\\mesh.xf");
}
