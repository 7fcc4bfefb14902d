// read_mesh: choosing the reader by the first bytes, the messages around a
// read, and reading standard input of unknown length.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "mesh_files.h"
#include "test_support.h"

namespace {

// Reads `bytes` with read_mesh("-") while standard input is a socket that a
// second thread fills, so that the reader cannot learn the input's size.
ReadOutcome read_from_stream(const std::string &bytes)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return {};
    const int saved = ::dup(0);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    std::thread writer([&] {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::send(ends[1], bytes.data() + done, std::min<size_t>(bytes.size() - done, 1 << 16),
                                     MSG_NOSIGNAL);
            if (n <= 0)
                break;
            done += size_t(n);
        }
        ::close(ends[1]);
    });
    ReadOutcome r = read_captured("-");
    ::dup2(saved, 0);  // closes the reading end, which stops a writer still sending
    ::close(saved);
    writer.join();
    return r;
}

std::string le_points_header(long count, const std::string &more = "")
{
    return "ply\nformat binary_little_endian 1.0\n" + more + "element vertex " + std::to_string(count) +
           "\nproperty float x\nproperty float y\nproperty float z\n";
}

} // namespace

TEST(ReadMeshDispatch, files_too_short_for_their_magic_cannot_give_a_header)
{
    for (const char *text : {"", "p", "O", "OF", "V", "VIVI"}) {
        TempDir dir;
        const ReadOutcome r = read_bytes(text, dir);
        EXPECT_FALSE(r.mesh);
        EXPECT_EQ(r.err, "Reading " + dir.file("m") + "... Can't read header.\nError reading file [" +
                             dir.file("m") + "].\n")
            << text;
    }
}

TEST(ReadMeshDispatch, unknown_first_bytes_and_wrong_magic_fail)
{
    const struct {
        std::string text, message;
    } cases[] = {
        {"xyz", "Unknown file type.\n"}, {std::string("\0\1", 2), "Unknown file type.\n"},
        {"Ma 1 2 3", ""},                {"OFX\n", ""},
        {"VIVAD", ""},                   {"pla\n", ""},
    };
    for (const auto &c : cases) {
        TempDir dir;
        const ReadOutcome r = read_bytes(c.text, dir);
        EXPECT_FALSE(r.mesh);
        EXPECT_EQ(r.err, "Reading " + dir.file("m") + "... " + c.message + "Error reading file [" +
                             dir.file("m") + "].\n");
    }
}

TEST(ReadMeshDispatch, missing_file_and_empty_name)
{
    TempDir dir;
    const ReadOutcome missing = read_captured(dir.file("none.ply"));
    EXPECT_FALSE(missing.mesh);
    EXPECT_EQ(missing.err, "Error opening [" + dir.file("none.ply") + "] for reading: No such file or directory.\n");
    const ReadOutcome empty = read_captured("");
    EXPECT_FALSE(empty.mesh);
    EXPECT_EQ(empty.err, "");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(read_mesh(nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(ReadMeshDispatch, standard_input_is_read_and_named_so)
{
    const ReadOutcome r = read_from_stream("v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\n");
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}}));
    EXPECT_EQ(r.err, "Reading standard input... Done.\n");
    const ReadOutcome bad = read_from_stream("xyz");
    EXPECT_EQ(bad.err, "Reading standard input... Unknown file type.\nError reading file [standard input].\n");
}

TEST(ReadMeshDispatch, large_binary_point_set_reads_from_a_stream)
{
    const int count = (1 << 20) + 5000;
    Bytes b;
    b.text(le_points_header(count) + "end_header\n");
    for (int i = 0; i < count; i++)
        b.point(float(i), 1, 2);
    const ReadOutcome r = read_from_stream(b.str());
    ASSERT_TRUE(r.mesh) << r.err;
    ASSERT_EQ(r.mesh->vertices.size(), size_t(count));
    EXPECT_EQ(r.mesh->vertices.back(), Point3(float(count - 1), 1, 2));
}

TEST(ReadMeshDispatch, large_range_grid_reads_from_a_stream)
{
    const int cols = 1100, rows = 1000;
    Bytes b;
    b.text(le_points_header(1, "obj_info num_cols 1100\nobj_info num_rows 1000\n") +
           "element range_grid 1100000\nproperty list uchar int vertex_indices\nend_header\n");
    b.point(1, 2, 3).u8(1).i32(0);
    for (int i = 1; i < cols * rows; i++)
        b.u8(0);
    const ReadOutcome r = read_from_stream(b.str());
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->range_grid.size(), size_t(cols * rows));
    EXPECT_EQ(r.mesh->range_grid[0], 0);
}

TEST(ReadMeshDispatch, huge_counts_from_a_stream_fail_without_a_huge_allocation)
{
    const std::string grid = le_points_header(1, "obj_info num_cols 46000\nobj_info num_rows 46000\n") +
                             "element range_grid 2116000000\nproperty list uchar int vertex_indices\nend_header\n" +
                             Bytes().point(1, 2, 3).u8(0).u8(0).str();
    EXPECT_FALSE(read_from_stream(grid).mesh);
    const std::string points = le_points_header(2000000000) + "end_header\n" + Bytes().point(1, 2, 3).str();
    EXPECT_FALSE(read_from_stream(points).mesh);
}
