// bake as a program: sub-command selection, argument counts, the banner, the
// refused arguments, the output and the exit status.

#include <gtest/gtest.h>

#include "bake_test_support.h"
#include "driver.h"
#include "hsv_colour.h"
#include "mesh_files.h"

namespace {

// A 4 x 4 grid without colours (in.ply), with colours (coloured.ply), and one
// lifted by 1 (lifted.ply).
class BakeRun : public testing::Test {
protected:
    void SetUp() override
    {
        TriMesh grid = make_grid_mesh(4);
        ASSERT_TRUE(write_captured(in(), grid).ok);
        grid.colors.assign(16, Color(0.2f, 0.4f, 0.6f));
        ASSERT_TRUE(write_captured(dir.file("coloured.ply"), grid).ok);
        for (Point3 &p : grid.vertices)
            p.z += 1;
        ASSERT_TRUE(write_captured(dir.file("lifted.ply"), grid).ok);
    }
    std::string in() const { return dir.file("in.ply"); }
    std::string out() const { return dir.file("out.ply"); }
    TempDir dir;
};

} // namespace

TEST(SubCommands, words_select_by_case_insensitive_prefixes_in_table_order)
{
    const std::pair<const char *, const char *> cases[] = {
        {"colRemap", "colRemap"}, {"colReamp", "colRemap"}, {"COLREx", "colRemap"}, {"colour", "col"},
        {"COL", "col"},           {"co", nullptr},          {"normals", "norm"},    {"nor", nullptr},
        {"Shapely", "shape"},     {"sha", nullptr},         {"AO", "ao"},           {"Ao2", "ao2"},
        {"aox", nullptr},         {"ao22", nullptr},        {"accessible", "acc"},  {"BDYx", "bdy"},
        {"findvertex", "findv"},  {"find", nullptr},        {"DEPTHS", "depth"},    {"", nullptr}};
    for (const auto &[word, key] : cases) {
        const SubCommand *sub = find_subcommand(word);
        EXPECT_STREQ(sub ? sub->key : nullptr, key) << "[" << word << "]";
    }
}

TEST_F(BakeRun, too_few_arguments_print_the_banner_and_usage_and_write_nothing)
{
    const std::vector<std::pair<std::string, int>> minimum = {
        {"colRemap", 7}, {"col", 5}, {"norm", 4}, {"shape", 6}, {"ao", 6},
        {"acc", 6},      {"bdy", 5}, {"ao2", 6},  {"findv", 6}, {"depth", 8}};
    ASSERT_EQ(subcommands().size(), minimum.size());
    std::vector<std::vector<std::string>> lines = {{}, {in(), "norm"}};
    for (size_t s = 0; s < minimum.size(); s++) {
        EXPECT_EQ(subcommands()[s].key, minimum[s].first);
        EXPECT_EQ(subcommands()[s].min_argc, minimum[s].second);
        // One argument short; the fillers name the output, which must not appear.
        std::vector<std::string> args = {in(), minimum[s].first};
        args.resize(size_t(minimum[s].second - 2), out());
        lines.push_back(args);
    }
    for (const auto &args : lines) {
        const ProcessResult r = bake(args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(bake_banner + "Usage: bake input sub-command"), std::string::npos) << r.err;
        for (const SubCommand &sub : subcommands())
            EXPECT_NE(r.err.find("\n  " + std::string(sub.key) + " " + sub.arguments), std::string::npos);
        EXPECT_FALSE(file_exists(out()));
    }
}

TEST_F(BakeRun, refusals_name_the_argument_show_the_banner_and_write_nothing)
{
    write_file(dir.file("junk.ply"), "junk");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"glow", "1"}, "\nWTF DUDE??? [glow]\n\n" + bake_banner},
        {{"colRemap", "1", "0", "0"}, "gamma 0"},
        {{"colRemap", "1", "-0.5", "2.2"}, "offset -0.5"},  // a negative base on black
        {{"ao2", in(), "0"}, "maximum distance 0"},
        {{"ao2", dir.file("junk.ply"), "1"}, "Couldn't read this shit " + dir.file("junk.ply") + "\n"},
        {{"bdy", "-1"}, "rings -1"},
        {{"findv", "0", "-2"}, "rings -2"},
        {{"findv", "16", "1"}, "vertex 16"},
        {{"col", "orange"}, "colour [orange]"},
        {{"depth", "0", "1", "0", "-0.1"}, "fraction -0.1"},
        {{"depth", "0", "1", "0", "0.5"}, "fraction 0.5"},
        {{"depth", "0", "0", "1", "0"}, "direction (0, 0, 1)"},  // the grid is flat
        {{"shape", "nan", "0"}, "scale [nan]"},
        {{"acc", "1e999", "0"}, "maxsize [1e999]"},
    };
    for (const auto &[middle, message] : cases) {
        std::vector<std::string> args = {in()};
        args.insert(args.end(), middle.begin(), middle.end());
        args.push_back(out());
        const ProcessResult r = bake(args);
        EXPECT_EQ(r.status, 1) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << message << "\n" << r.err;
        EXPECT_NE(r.err.find(bake_banner), std::string::npos) << message;
        EXPECT_FALSE(file_exists(out())) << message;
    }
}

TEST_F(BakeRun, runs_the_colouring_and_names_the_output_only_after_a_successful_write)
{
    const std::string none, lifted = dir.file("lifted.ply"), coloured = dir.file("coloured.ply");
    const float v = 0.3f * 0.25f + 0.7f;
    const std::vector<std::tuple<std::vector<std::string>, int, std::string, Color>> cases = {
        {{in(), "colour", "ff8000", out()}, 0, out(), {1, 128 / 255.0f, 0}},
        {{in(), "NORMALS", out()}, 0, out(), {0.5f, 0.5f, 1}},
        {{in(), "AO", "0", "0", out()}, 0, out(), {0.5f, 0.5f, 0.5f}},
        {{in(), "colReamp", "1", "0.25", "1", out(), "not-read"}, 0, out(), {0.25f, 0.25f, 0.25f}},  // black first
        {{coloured, "colRemap", "1", "0", "1", out()}, 0, out(), {0.2f, 0.4f, 0.6f}},
        {{in(), "ao2", lifted, "4", out()}, 0, out(), hsv_to_rgb(3, v, v)},
        {{in(), "norm", "-"}, 0, none, {}},
        {{in(), "norm", dir.file("no/folder/out.ply")}, 1, none, {}},
    };
    for (const auto &[args, status, name, colour] : cases) {
        std::vector<char *> argv = {const_cast<char *>("bake")};
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        const char *written = nullptr;
        testing::internal::CaptureStdout();
        stderr_of([&] { EXPECT_EQ(run_bake(int(argv.size()), argv.data(), written), status) << args[1]; });
        EXPECT_EQ(testing::internal::GetCapturedStdout().substr(0, 4), args.back() == "-" ? "ply\n" : "");
        EXPECT_EQ(written ? std::string(written) : none, name) << args[1];
        if (name.empty())
            continue;
        const auto mesh = read_captured(out()).mesh;
        for (const Color &c : mesh->colors)
            EXPECT_PRED3(near, c, colour, 1 / 255.0f) << args[1];
        std::remove(out().c_str());
    }
}

// Every sub-command with each kind of bad value in each of its places and with
// its values cut off: nothing crashes or hangs, a refusal writes nothing, a
// non-finite real value is refused by name, and what is written is finite.
TEST_F(BakeRun, bad_values_are_refused_or_harmless)
{
    // Each sub-command with good values, and whether they are real numbers.
    const std::pair<std::vector<std::string>, bool> commands[] = {
        {{"colRemap", "1", "0", "1"}, true}, {{"shape", "1", "1"}, true},       {{"ao", "1", "1"}, true},
        {{"acc", "1", "0"}, true},           {{"depth", "0", "0", "1", "0.1"}, true},
        {{"col", "ff0000"}, false},          {{"bdy", "2"}, false},             {{"findv", "0", "2"}, false},
        {{"ao2", in(), "1"}, false}};
    for (const auto &[command, real] : commands) {
        for (const BadValueLine &line : bad_value_lines(command)) {
            std::vector<std::string> args = {in()};
            args.insert(args.end(), line.words.begin(), line.words.end());
            args.push_back(out());
            const ProcessResult r = bake(args);
            std::string what;
            for (const std::string &arg : line.words)
                what += " [" + arg + "]";
            if (real && line.non_finite) {
                EXPECT_EQ(r.status, 1) << what;
            }
            if (r.status != 0) {
                EXPECT_EQ(r.status, 1) << what << ": " << r.err;
                EXPECT_FALSE(file_exists(out())) << what;
                continue;
            }
            const auto mesh = read_captured(out()).mesh;
            ASSERT_TRUE(mesh) << what;
            EXPECT_TRUE(all_values_finite(*mesh)) << what;
            std::remove(out().c_str());
        }
    }
}
