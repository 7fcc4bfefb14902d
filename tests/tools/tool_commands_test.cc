// The three programs as processes: usage, failures that write nothing, and the
// input that Tidegate falls back on.
#include <gtest/gtest.h>

#include "mesh_io.h"
#include "test_support.h"

namespace {

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
// An open square of two triangles.
const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 3 4\n";

} // namespace

TEST(ToolCommands, each_program_prints_its_usage_on_request)
{
    for (const char *program : {"Tidegate", "hole", "merge"}) {
        SCOPED_TRACE(program);
        const ProcessResult r = run_program(program, {"-h"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind(std::string("Usage: ") + program, 0), 0u) << r.out;
    }
}

TEST(ToolCommands, failures_name_what_is_wrong_and_write_nothing)
{
    TempDir dir;
    write_file(dir.file("a.obj"), square);
    write_file(dir.file("points.obj"), "v 0 0 0\nv 1 0 0\n");
    write_file(dir.file("text.obj"), "this is no mesh\n");
    const std::string a = dir.file("a.obj"), out = dir.file("out.ply");
    const struct {
        const char *program;
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {"Tidegate", {a, out, "0"}, "count [0] is not a positive whole number"},
        {"Tidegate", {a, out, "-5"}, "count [-5] is not a positive whole number"},
        {"Tidegate", {a, out, "many"}, "count [many] is not a positive whole number"},
        {"Tidegate", {a, out, "2.5"}, "count [2.5] is not a positive whole number"},
        {"Tidegate", {a, out, "10", "-Q"}, "unknown option [-Q]"},
        {"Tidegate", {a, out}, "needs INPUT, OUTPUT and COUNT"},
        {"Tidegate", {dir.file("missing.obj"), out, "10"}, "cannot find the mesh [" + dir.file("missing.obj")},
        {"Tidegate", {dir.file("points.obj"), out, "10"}, std::string("[").append(dir.file("points.obj")).append("] has no triangles")},
        {"Tidegate", {a, dir.file("no/such/folder/out.ply"), "1"}, "cannot write [" + dir.file("no/such")},
        {"hole", {a, out}, "expects -c INPUT OUTPUT"},
        {"hole", {"-c", dir.file("text.obj"), out}, "cannot read the mesh [" + dir.file("text.obj")},
        {"merge", {a, a, out}, "expects A B -o OUTPUT"},
        {"merge", {a, dir.file("missing.obj"), "-o", out}, "cannot read the mesh [" + dir.file("missing.obj")},
        {"merge", {dir.file("points.obj"), a, "-o", out}, "has no triangles"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        const ProcessResult r = run_program(c.program, c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(file_exists(out));
    }
}

TEST(ToolCommands, tidegate_reads_the_one_mesh_file_that_stands_for_a_missing_input)
{
    TempDir dir;
    write_file(dir.file("a.ply"), triangle);  // OBJ text in a file named .ply: found by name, read by content
    write_file(dir.file("a.txt"), "not a mesh extension");
    const ProcessResult found = run_program("Tidegate", {dir.file("a.obj"), dir.file("out.obj"), "5"});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_NE(found.err.find("reading [" + dir.file("a.ply") + "]"), std::string::npos) << found.err;
    EXPECT_EQ(read_mesh(dir.file("out.obj").c_str())->faces.size(), 1u);

    write_file(dir.file("a.off"), "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n");
    const ProcessResult two = run_program("Tidegate", {dir.file("a.obj"), dir.file("out2.obj"), "5"});
    EXPECT_EQ(two.status, 1);
    EXPECT_NE(two.err.find("several mesh files of that name"), std::string::npos) << two.err;
    EXPECT_FALSE(file_exists(dir.file("out2.obj")));
}

TEST(ToolCommands, the_programs_write_their_results)
{
    TempDir dir;
    write_file(dir.file("a.obj"), square);
    write_file(dir.file("b.obj"), "v 1 0 0\nv 1 1 0\nv 2 0 0\nf 1 3 2\n");
    const struct {
        const char *program;
        std::vector<std::string> args;
        std::string output;
        size_t vertices, faces;
        std::string says;
    } cases[] = {
        {"Tidegate", {dir.file("a.obj"), dir.file("t.ply"), "1", "-Ty", "-Hy", "-P"}, "t.ply", 4, 2, "above 1"},
        {"Tidegate", {dir.file("a.obj"), dir.file("u.ply"), "2", "-Nn", "-Hy"}, "u.ply", 4, 2, "within the count"},
        {"hole", {"-c", dir.file("a.obj"), dir.file("h.ply")}, "h.ply", 4, 4, "1 filled"},
        {"merge", {dir.file("a.obj"), dir.file("b.obj"), "-o", dir.file("m.obj")}, "m.obj", 5, 3, "2 of them welded"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.program);
        const ProcessResult r = run_program(c.program, c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        const auto mesh = read_mesh(dir.file(c.output).c_str());
        ASSERT_TRUE(mesh);
        EXPECT_EQ(mesh->vertices.size(), c.vertices);
        EXPECT_EQ(mesh->faces.size(), c.faces);
    }
}
