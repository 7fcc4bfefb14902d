// write_mesh: the format and options from the name, standard output, and
// replacing a file only with a complete new one.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "mesh_files.h"
#include "test_support.h"

namespace {

// While it lives, standard output goes to the file at `path`.
class StdoutTo {
public:
    explicit StdoutTo(const std::string &path)
    {
        std::fflush(stdout);
        saved = ::dup(1);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 1);
        ::close(fd);
    }
    ~StdoutTo()
    {
        ::dup2(saved, 1);
        ::close(saved);
    }

private:
    int saved = -1;
};

std::vector<std::string> folder_entries(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TriMesh triangle() { return make_mesh({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{0, 1, 2}}); }

} // namespace

TEST(WriteMesh, format_comes_from_extension_and_prefixes)
{
    const std::pair<std::string, std::string> cases[] = {
        {"m.ply", "ply\nformat binary_little_endian"}, {"m.PLY", "ply\nformat binary_little_endian"},
        {"m", "ply\nformat binary_little_endian"},     {"m.xyz", "ply\nformat binary_little_endian"},
        {"m.obj", "# OBJ\n"},                           {"m.OFF", "OFF\n"},
        {"m.sm", "3\n"},                                {"m.ray", "#camera"},
        {"m.cc", "#include"},                           {"m.c++", "#include"},
        {"m.cpp", "#include"},                          {"m.c", "#include"},
        {"be:m.obj", "ply\nformat binary_big_endian"},  {"ply_binary_be:m", "ply\nformat binary_big_endian"},
        {"obj:m.ply", "# OBJ\n"},                       {"ascii:be:m", "ply\nformat binary_big_endian"},
        {"LE:ASC:m", "ply\nformat ascii"},              {"ply_asc:m.obj", "ply\nformat ascii"},
        {"ply_ascii:m", "ply\nformat ascii"},           {"ply_binary:ascii:m", "ply\nformat ascii"},
        {"off:sm:m", "3\n"},                            {"ray:m", "#camera"},
        {"off:m.ply", "OFF\n"},                         {"ply:m.obj", "ply\nformat binary_little_endian"},
        {"ply_binary_le:be:le:m", "ply\nformat binary_little_endian"},
    };
    for (const auto &[name, start] : cases) {
        TempDir dir;
        TriMesh mesh = triangle();
        const size_t colon = name.rfind(':');
        const std::string prefixes = colon == std::string::npos ? "" : name.substr(0, colon + 1);
        const std::string file = colon == std::string::npos ? name : name.substr(colon + 1);
        ASSERT_TRUE(write_captured(prefixes + dir.file(file), mesh).ok) << name;
        EXPECT_EQ(read_file(dir.file(file)).substr(0, start.size()), start) << name;
        EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{file}) << name;
    }
}

TEST(WriteMesh, norm_and_ascii_prefixes_write_normals_as_text)
{
    TempDir dir;
    TriMesh mesh = triangle();
    mesh.normals = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    const WriteOutcome w = write_captured("norm:ascii:" + dir.file("out.ply"), mesh);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.err, "Writing " + dir.file("out.ply") + "... Done.\n");
    const std::string text = read_file(dir.file("out.ply"));
    EXPECT_NE(text.find("format ascii 1.0\n"), std::string::npos);
    EXPECT_NE(text.find("end_header\n1 2 3 0 0 1\n4 5 6 0 1 0\n7 8 9 1 0 0\n3 0 1 2\n"), std::string::npos);
}

TEST(WriteMesh, empty_name_and_empty_mesh_write_nothing)
{
    TriMesh empty;
    TempDir dir;
    const WriteOutcome to_stdout = [&] {
        StdoutTo redirect(dir.file("stdout"));
        return write_captured("-", empty);
    }();
    EXPECT_FALSE(to_stdout.ok);
    EXPECT_EQ(to_stdout.err, "Empty mesh - nothing to write.\n");
    EXPECT_EQ(read_file(dir.file("stdout")), "");
    TriMesh mesh = triangle();
    const WriteOutcome unnamed = write_captured("", mesh);
    EXPECT_FALSE(unnamed.ok);
    EXPECT_EQ(unnamed.err, "Can't write to empty filename.\n");
}

TEST(WriteMesh, dash_writes_standard_output)
{
    TempDir dir;
    TriMesh mesh = triangle();
    const WriteOutcome w = [&] {
        StdoutTo redirect(dir.file("stdout"));
        return write_captured("ply_binary_be:-", mesh);
    }();
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.err, "Writing standard output... Done.\n");
    const ReadOutcome r = read_captured(dir.file("stdout"));
    ASSERT_TRUE(r.mesh);
    EXPECT_EQ(mesh_difference(*r.mesh, mesh), "");
    EXPECT_NE(read_file(dir.file("stdout")).find("binary_big_endian"), std::string::npos);
}

TEST(WriteMesh, failed_write_to_standard_output_is_reported)
{
    TriMesh mesh = make_grid_mesh(100);
    const WriteOutcome w = [&] {
        StdoutTo redirect("/dev/full");
        return write_captured("-", mesh);
    }();
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Writing standard output... Error writing file [standard output].\n");
}

TEST(WriteMesh, missing_folder_fails_and_leaves_nothing)
{
    TempDir dir;
    TriMesh mesh = triangle();
    const std::string name = dir.file("none/out.ply");
    const WriteOutcome w = write_captured(name, mesh);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Error opening [" + name + "] for writing: No such file or directory.\n");
    EXPECT_TRUE(folder_entries(dir.path()).empty());
}

TEST(WriteMesh, failed_write_keeps_the_previous_file_and_leaves_no_temporary)
{
    TempDir dir;
    const std::string name = dir.file("out.ply");
    write_file(name, "previous contents");
    TriMesh mesh = make_grid_mesh(200);
    const WriteOutcome w = [&] {
        FileSizeLimit limit(64 * 1024);
        return write_captured(name, mesh);
    }();
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Writing " + name + "... Error writing file [" + name + "].\n");
    EXPECT_EQ(read_file(name), "previous contents");
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"out.ply"});
}

TEST(WriteMesh, replacing_a_file_keeps_its_permissions)
{
    TempDir dir;
    const std::string name = dir.file("out.obj");
    write_file(name, "old");
    ::chmod(name.c_str(), 0600);
    TriMesh mesh = triangle();
    ASSERT_TRUE(write_captured(name, mesh).ok);
    struct stat st {};
    ::stat(name.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(read_file(name).substr(0, 6), "# OBJ\n");
}

TEST(WriteMesh, new_file_gets_the_usual_permissions)
{
    TempDir dir;
    TriMesh mesh = triangle();
    ASSERT_TRUE(write_captured(dir.file("new.ply"), mesh).ok);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ::stat(dir.file("new.ply").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST(WriteMesh, writing_through_a_symbolic_link_updates_its_target)
{
    TempDir dir;
    write_file(dir.file("target.obj"), "old");
    std::filesystem::create_symlink("target.obj", dir.file("link.obj"));
    TriMesh mesh = triangle();
    ASSERT_TRUE(write_captured(dir.file("link.obj"), mesh).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.obj")));
    EXPECT_EQ(read_file(dir.file("target.obj")).substr(0, 6), "# OBJ\n");
}

TEST(WriteMesh, name_of_the_longest_allowed_length_is_written)
{
    TempDir dir;
    const std::string base = std::string(251, 'a') + ".obj";
    TriMesh mesh = triangle();
    const WriteOutcome w = write_captured(dir.file(base), mesh);
    EXPECT_TRUE(w.ok) << w.err;
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{base});
}
