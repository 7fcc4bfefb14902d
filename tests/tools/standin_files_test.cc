// The stand-ins for the outside programs: copying, and joining OBJ files.
#include <gtest/gtest.h>

#include "standin_files.h"
#include "test_support.h"

TEST(CopyFile, copies_bytes_exactly)
{
    TempDir dir;
    const std::string data("ply\n\0\xff binary", 14);
    write_file(dir.file("a.ply"), data);
    ASSERT_TRUE(copy_file(dir.file("a.ply"), dir.file("b.ply")));
    EXPECT_EQ(read_file(dir.file("b.ply")), data);
}

TEST(CopyFile, fails_on_a_missing_input_without_writing)
{
    TempDir dir;
    EXPECT_FALSE(copy_file(dir.file("missing.obj"), dir.file("out.obj")));
    EXPECT_FALSE(file_exists(dir.file("out.obj")));
}

TEST(JoinObjFiles, moves_the_second_files_indices_past_the_first_ones_elements)
{
    TempDir dir;
    write_file(dir.file("a.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n");
    write_file(dir.file("b.obj"), "# second\nv 5 0 0\nv 6 0 0\nv 5 1 0\nvt 1 1\nf 1//1 2/1 3/1/\nf -3 -2 -1\nl 1 2\n");
    ASSERT_TRUE(join_obj_files(dir.file("a.obj"), dir.file("b.obj"), dir.file("out.obj")));
    EXPECT_EQ(read_file(dir.file("out.obj")),
              "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n"
              "# second\nv 5 0 0\nv 6 0 0\nv 5 1 0\nvt 1 1\nf 4//2 5/2 6/2/\nf -3 -2 -1\nl 4 5\n");
}

TEST(JoinObjFiles, fails_when_an_input_is_missing)
{
    TempDir dir;
    write_file(dir.file("a.obj"), "v 0 0 0\n");
    EXPECT_FALSE(join_obj_files(dir.file("a.obj"), dir.file("missing.obj"), dir.file("out.obj")));
    EXPECT_FALSE(file_exists(dir.file("out.obj")));
}
