// Stripline run as a process: argument walking, the output as last argument,
// the attribute options, standard input and output, usage and exit statuses.

#include <gtest/gtest.h>

#include <filesystem>

#include "mesh_files.h"
#include "test_support.h"

namespace {

const char *const option_names[] = {"-col", "-colors", "-remcol", "-conf", "-noconf", "-notstrip",
                                    "-notstrips", "-nostrip", "-nostrips", "-unstrip", "-nogrid"};

std::string unrecognised(const std::string &arg)
{
    return "\nWTF was that option was that option supposed to be? eh? [" + arg + "]\n\n";
}

ProcessResult stripline(const std::vector<std::string> &args, const std::string &input = "")
{
    return run_program("Stripline", args, input);
}

std::unique_ptr<TriMesh> read_back(const std::string &path) { return read_captured(path).mesh; }

// A folder with input meshes of each kind.
class StriplineRun : public testing::Test {
protected:
    void SetUp() override
    {
        TriMesh plain = make_mesh({{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 1, 2}, {0, 2, 3}});
        save(plain, "plain.ply");
        plain.colors = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
        plain.confidences = {0.25f, 0.5f, 0.75f, 1};
        save(plain, "attributes.ply");
        TriMesh strips = plain;
        strips.faces.clear();
        strips.tristrips = {4, 0, 1, 3, 2};
        save(strips, "strips.ply");
        TriMesh grid = make_mesh(plain.vertices);
        grid.grid_cols = grid.grid_rows = 2;
        grid.range_grid = {0, 1, 3, 2};
        save(grid, "grid.ply");
    }

    void save(TriMesh mesh, const std::string &name)
    {
        ASSERT_TRUE(write_captured(dir.file(name), mesh).ok);
    }
    std::string in(const std::string &name) const { return dir.file(name); }
    std::string out() const { return dir.file("out.ply"); }

    TempDir dir;
};

} // namespace

TEST_F(StriplineRun, usage_lists_every_option)
{
    const ProcessResult bare = stripline({});
    EXPECT_EQ(bare.status, 1);
    EXPECT_EQ(bare.out, "");
    EXPECT_NE(bare.err.find("Usage: Stripline"), std::string::npos);
    for (const char *help : {"-h", "--help"}) {
        const ProcessResult r = stripline({help});
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.out, bare.err) << help;
    }
    for (const std::string name : option_names) {
        const auto listed = [&](const char *after) { return bare.err.find(" " + name + after) != std::string::npos; };
        EXPECT_TRUE(listed(",") || listed(" ") || listed("\n")) << name;
    }
}

TEST_F(StriplineRun, missing_or_unreadable_input_fails_and_writes_nothing)
{
    write_file(dir.file("junk.ply"), "junk");
    for (const std::string &input : {dir.file("none.ply"), dir.file("junk.ply")}) {
        const ProcessResult r = stripline({input, out()});
        EXPECT_EQ(r.status, 1) << input;
        EXPECT_NE(r.err.find("[" + input + "]"), std::string::npos) << r.err;
        EXPECT_FALSE(file_exists(out()));
    }
}

TEST_F(StriplineRun, input_and_output_only_copies_the_mesh_and_its_strips)
{
    for (const char *name : {"attributes.ply", "strips.ply"}) {
        const ProcessResult r = stripline({in(name), out()});
        EXPECT_EQ(r.status, 0) << r.err;
        const auto got = read_back(out()), want = read_back(in(name));
        ASSERT_TRUE(got && want) << name;
        EXPECT_EQ(mesh_difference(*got, *want), "") << name;
    }
}

TEST_F(StriplineRun, unrecognised_arguments_are_reported_and_skipped)
{
    const ProcessResult r = stripline({in("plain.ply"), "-bogus", "stray", out()});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find(unrecognised("-bogus") + unrecognised("stray")), std::string::npos) << r.err;
    EXPECT_TRUE(read_back(out()));
}

TEST_F(StriplineRun, output_name_counts_only_as_the_last_argument)
{
    const ProcessResult middle = stripline({in("plain.ply"), out(), "-col"});
    EXPECT_EQ(middle.status, 0);
    EXPECT_NE(middle.err.find(unrecognised(out())), std::string::npos);
    EXPECT_FALSE(file_exists(out()));
    const ProcessResult dash_last = stripline({in("plain.ply"), "-x"});
    EXPECT_NE(dash_last.err.find(unrecognised("-x")), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

TEST_F(StriplineRun, conf_value_rules)
{
    const auto confidences_after = [&](const std::string &input, std::vector<std::string> options) {
        options.insert(options.begin(), in(input));
        options.push_back(out());
        const ProcessResult r = stripline(options);
        EXPECT_EQ(r.status, 0) << r.err;
        const auto m = read_back(out());
        return m ? m->confidences : std::vector<float>{-1};
    };
    EXPECT_EQ(confidences_after("plain.ply", {"-conf"}), std::vector<float>(4, 1.0f));
    EXPECT_EQ(confidences_after("attributes.ply", {"-conf"}), (std::vector<float>{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(confidences_after("attributes.ply", {"-conf", "0.5"}), std::vector<float>(4, 0.5f));
    EXPECT_EQ(confidences_after("attributes.ply", {"-noconf"}), std::vector<float>{});

    const ProcessResult last = stripline({in("plain.ply"), "-conf"});
    EXPECT_EQ(last.status, 0);
    EXPECT_EQ(last.err.find("WTF"), std::string::npos);
    const ProcessResult to_stdout = stripline({in("plain.ply"), "-conf", "ascii:-"});
    EXPECT_NE(to_stdout.out.find("property float confidence\n"), std::string::npos);
    EXPECT_NE(to_stdout.out.find("\n0 0 1 1\n"), std::string::npos);
}

TEST_F(StriplineRun, colour_options)
{
    const auto colors_after = [&](const std::string &input, const std::string &option) {
        EXPECT_EQ(stripline({in(input), option, out()}).status, 0);
        const auto m = read_back(out());
        return m ? m->colors : std::vector<Color>{{-1, -1, -1}};
    };
    for (const char *option : {"-col", "-colors"}) {
        EXPECT_EQ(colors_after("plain.ply", option), std::vector<Color>(4, Color(1, 1, 1)));
        EXPECT_EQ(colors_after("attributes.ply", option), read_back(in("attributes.ply"))->colors);
    }
    EXPECT_EQ(colors_after("attributes.ply", "-remcol"), std::vector<Color>{});
}

TEST_F(StriplineRun, notstrip_and_its_aliases_write_faces)
{
    for (const char *option : {"-notstrip", "-notstrips", "-nostrip", "-nostrips", "-unstrip"}) {
        EXPECT_EQ(stripline({in("strips.ply"), option, out()}).status, 0);
        const auto m = read_back(out());
        ASSERT_TRUE(m) << option;
        EXPECT_TRUE(m->tristrips.empty()) << option;
        EXPECT_EQ(m->faces, (std::vector<Face>{{0, 1, 3}, {3, 1, 2}})) << option;
    }
}

TEST_F(StriplineRun, nogrid_writes_the_grid_as_faces)
{
    EXPECT_EQ(stripline({in("grid.ply"), "-nogrid", out()}).status, 0);
    const auto m = read_back(out());
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->range_grid.empty());
    EXPECT_EQ(m->faces, (std::vector<Face>{{0, 1, 3}, {1, 2, 3}}));
}

TEST_F(StriplineRun, dash_reads_standard_input_and_writes_standard_output)
{
    const ProcessResult r = stripline({"-", "ply_binary_be:-"}, read_file(in("attributes.ply")));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 30), "ply\nformat binary_big_endian 1");
    write_file(dir.file("from_stdout"), r.out);
    const auto got = read_back(dir.file("from_stdout")), want = read_back(in("attributes.ply"));
    ASSERT_TRUE(got && want);
    EXPECT_EQ(mesh_difference(*got, *want), "");
    EXPECT_NE(r.err.find("Reading standard input... "), std::string::npos);
    EXPECT_NE(r.err.find("Writing standard output... Done.\n"), std::string::npos);
}

TEST_F(StriplineRun, unwritable_output_fails_and_leaves_no_file)
{
    const ProcessResult r = stripline({in("plain.ply"), dir.file("none/out.ply")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error opening [" + dir.file("none/out.ply") + "] for writing"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

TEST_F(StriplineRun, failed_write_keeps_the_existing_output)
{
    save(make_grid_mesh(200), "big.ply");
    write_file(out(), "previous contents");
    const ProcessResult r = [&] {
        FileSizeLimit limit(64 * 1024);
        return stripline({in("big.ply"), out()});
    }();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(read_file(out()), "previous contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 6);
}

// Every option that takes values, with each kind of bad value in each of its
// places and with its values cut off: nothing crashes or hangs, a real value
// that is not a finite number is refused by name with nothing written, a
// result that overflows is not written, and what is written is finite.
TEST_F(StriplineRun, bad_option_values_are_refused_or_harmless)
{
    const std::string nan_box = dir.file("nan.box");
    write_file(nan_box, "nan nan nan 1 1 1\n");
    const std::string overflow = "Stripline: the result has coordinates or normals that are not finite";
    // The command lines to try, each with the refusal it must give ("" when
    // it may run).
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-scale", "1e30", "-scale", "1e30"}, overflow}, {{"-clip", nan_box}, ""}};
    // Each option with good values, and whether they are real numbers.
    const std::pair<std::vector<std::string>, bool> options[] = {
        {{"-conf", "1"}, true},         {{"-smooth", "1"}, true},      {{"-bilat", "1", "1"}, true},
        {{"-sharpen", "1"}, true},      {{"-smoothnorm", "1"}, true},  {{"-inflate", "1"}, true},
        {{"-noise", "1"}, true},        {{"-rot", "30", "0", "0", "1"}, true},
        {{"-trans", "1", "2", "3"}, true}, {{"-scale", "2", "1", "1", "1"}, true},
        {{"-smooth2", "1"}, false},     {{"-clip", "file"}, false},    {{"-xf", "file"}, false},
        {{"-ixf", "file"}, false}};
    for (const auto &[option, real] : options)
        for (const BadValueLine &line : bad_value_lines(option))
            cases.push_back({line.words, real && line.non_finite ? "Option " + option[0] + ": [" : ""});
    for (auto &[line, refusal] : cases) {
        std::string what;
        for (const std::string &arg : line)
            what += " [" + arg + "]";
        line.insert(line.begin(), in("attributes.ply"));
        // Text output: a binary file whose first vertex lies beyond 1e10 would
        // be read back byte-reversed.
        line.push_back("ascii:" + out());
        const ProcessResult r = stripline(line);
        if (!refusal.empty()) {
            EXPECT_EQ(r.status, 1) << what;
            EXPECT_NE(r.err.find(refusal), std::string::npos) << what << ": " << r.err;
            EXPECT_FALSE(file_exists(out())) << what;
            continue;
        }
        EXPECT_TRUE(r.status == 0 || r.status == 1) << what << ": " << r.err;
        if (!file_exists(out()))
            continue;
        const auto mesh = read_back(out());
        ASSERT_TRUE(mesh) << what;
        EXPECT_TRUE(all_values_finite(*mesh)) << what;
        std::remove(out().c_str());
    }
}
