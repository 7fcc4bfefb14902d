// bake as a program: sub-command selection, argument counts, the banner, the
// refused arguments, the output and the exit status.

#include <gtest/gtest.h>

#include <cstring>

#include "bake_test_support.h"
#include "driver.h"
#include "hsv_colour.h"
#include "mesh_files.h"

namespace {

class BakeRun : public testing::Test {
protected:
    void SetUp() override
    {
        TriMesh grid = make_grid_mesh(4);
        ASSERT_TRUE(write_captured(in(), grid).ok);
        grid.colors.assign(grid.vertices.size(), Color(0.2f, 0.4f, 0.6f));
        ASSERT_TRUE(write_captured(dir.file("coloured.ply"), grid).ok);
    }

    std::string in() const { return dir.file("in.ply"); }
    std::string out() const { return dir.file("out.ply"); }
    // The colours of the written output.
    std::vector<Color> out_colours() const
    {
        const auto mesh = read_captured(out()).mesh;
        return mesh ? mesh->colors : std::vector<Color>();
    }

    TempDir dir;
};

// Each colour of `colours` is `c`, to the 1/255 steps of the file's bytes.
void expect_all(const std::vector<Color> &colours, const Color &c)
{
    ASSERT_EQ(colours.size(), 16u);
    for (const Color &actual : colours)
        EXPECT_PRED3(near, actual, c, 1.0f / 255);
}

} // namespace

TEST(SubCommands, words_select_by_case_insensitive_prefixes_in_table_order)
{
    const struct {
        const char *word;
        const char *key;  // null: no sub-command
    } cases[] = {
        {"colRemap", "colRemap"}, {"colReamp", "colRemap"}, {"COLREx", "colRemap"}, {"colour", "col"},
        {"col", "col"},           {"COL", "col"},           {"co", nullptr},        {"normals", "norm"},
        {"NORM", "norm"},         {"nor", nullptr},         {"shap", "shape"},      {"Shapely", "shape"},
        {"sha", nullptr},         {"ao", "ao"},             {"AO", "ao"},           {"ao2", "ao2"},
        {"Ao2", "ao2"},           {"ao3", nullptr},         {"aox", nullptr},       {"ao22", nullptr},
        {"a", nullptr},           {"accessibility", "acc"}, {"ac", nullptr},        {"bdy", "bdy"},
        {"BDYx", "bdy"},          {"findv", "findv"},       {"findvertex", "findv"}, {"find", nullptr},
        {"depth", "depth"},       {"DEPTHS", "depth"},      {"dept", nullptr},      {"", nullptr},
    };
    for (const auto &c : cases) {
        const SubCommand *sub = find_subcommand(c.word);
        EXPECT_STREQ(sub ? sub->key : nullptr, c.key) << "[" << c.word << "]";
    }
}

TEST(SubCommands, need_their_arguments_and_an_output)
{
    const std::vector<std::pair<const char *, int>> expected = {
        {"colRemap", 7}, {"col", 5}, {"norm", 4}, {"shape", 6}, {"ao", 6},
        {"acc", 6},      {"bdy", 5}, {"ao2", 6},  {"findv", 6}, {"depth", 8}};
    ASSERT_EQ(subcommands().size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_STREQ(subcommands()[i].key, expected[i].first);
        EXPECT_EQ(subcommands()[i].min_argc, expected[i].second) << expected[i].first;
    }
}

TEST_F(BakeRun, too_few_arguments_print_the_banner_and_write_nothing)
{
    std::vector<std::vector<std::string>> lines = {{}, {in()}, {in(), "norm"}};
    // Each sub-command one argument short: the last one given stands where the
    // output belongs.
    for (const SubCommand &sub : subcommands()) {
        std::vector<std::string> args = {in(), sub.key};
        while (int(args.size()) < sub.min_argc - 3)
            args.push_back("1");
        if (int(args.size()) < sub.min_argc - 2)
            args.push_back(out());
        lines.push_back(args);
    }
    for (const auto &args : lines) {
        const ProcessResult r = bake(args);
        const std::string shown = args.size() > 1 ? args[1] : "";
        EXPECT_EQ(r.status, 1) << shown;
        EXPECT_NE(r.err.find(bake_banner + "Usage: bake input sub-command"), std::string::npos) << shown << r.err;
        EXPECT_FALSE(file_exists(out())) << shown;
    }
}

TEST_F(BakeRun, banner_is_followed_by_every_sub_command_and_its_arguments)
{
    const ProcessResult r = bake({});
    ASSERT_EQ(r.err.substr(0, bake_banner.size()), bake_banner);
    EXPECT_EQ(r.out, "");
    for (const SubCommand &sub : subcommands())
        EXPECT_NE(r.err.find("\n  " + std::string(sub.key) + " " + sub.arguments), std::string::npos) << sub.key;
}

TEST_F(BakeRun, unknown_words_and_unreadable_inputs_fail_with_the_banner)
{
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{in(), "glow", "1", out()}, "\nWTF DUDE??? [glow]\n\n" + bake_banner},
        {{dir.file("none.ply"), "norm", out()}, "cannot read the input mesh"},
    };
    for (const auto &c : cases) {
        const ProcessResult r = bake(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(bake_banner), std::string::npos);
        EXPECT_FALSE(file_exists(out()));
    }
}

TEST_F(BakeRun, refused_arguments_name_themselves_and_write_nothing)
{
    const std::string unreadable = dir.file("junk.ply");
    write_file(unreadable, "junk");
    const struct {
        std::vector<std::string> args;  // between the input and the output
        std::string message;
    } cases[] = {
        {{"colRemap", "1", "0", "0"}, "gamma 0"},
        {{"colRemap", "1", "-0.5", "2.2"}, "offset -0.5"},  // a negative base on black
        {{"ao2", in(), "0"}, "maximum distance 0"},
        {{"ao2", in(), "-1"}, "maximum distance -1"},
        {{"ao2", unreadable, "1"}, "Couldn't read this shit " + unreadable + "\n"},
        {{"bdy", "-1"}, "rings -1"},
        {{"findv", "0", "-2"}, "rings -2"},
        {{"findv", "16", "1"}, "vertex 16"},
        {{"findv", "-1", "1"}, "vertex -1"},
        {{"col", "orange"}, "colour [orange]"},
        {{"col", "ff80zz"}, "colour [ff80zz]"},
        {{"col", "-ff"}, "colour [-ff]"},
        {{"depth", "0", "1", "0", "-0.1"}, "fraction -0.1"},
        {{"depth", "0", "1", "0", "0.5"}, "fraction 0.5"},
        {{"depth", "0", "0", "1", "0"}, "direction (0, 0, 1)"},  // the grid is flat
        {{"shape", "nan", "0"}, "scale [nan]"},
        {{"ao", "1", "inf"}, "smoothing [inf]"},
        {{"acc", "1e999", "0"}, "maxsize [1e999]"},
        {{"depth", "0", "1", "-inf", "0"}, "direction z [-inf]"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {in()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(out());
        const ProcessResult r = bake(args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.message << "\n" << r.err;
        EXPECT_NE(r.err.find(bake_banner), std::string::npos) << c.message;
        EXPECT_FALSE(file_exists(out())) << c.message;
    }
}

TEST_F(BakeRun, each_word_runs_its_colouring_and_writes_the_output_named_after_its_arguments)
{
    const float grey = 0.3f * 0.25f + 0.7f;
    const struct {
        std::vector<std::string> args;  // between the input and the output
        Color expected;                 // of every vertex
        std::string input = "in.ply";
    } cases[] = {
        {{"colour", "ff8000"}, {1, 128 / 255.0f, 0}},
        {{"NORMALS"}, {0.5f, 0.5f, 1}},
        {{"AO", "0", "0"}, {0.5f, 0.5f, 0.5f}},
        {{"acc", "0", "0"}, {0, 0, 0}},
        {{"shap", "1", "0"}, {1, 1, 1}},  // flat: no saturation
        {{"colReamp", "1", "0.25", "1"}, {0.25f, 0.25f, 0.25f}},  // no colours in the file: black first
        {{"colRemap", "1", "0", "1"}, {0.2f, 0.4f, 0.6f}, "coloured.ply"},
        {{"ao2", "LIFTED", "4"}, hsv_to_rgb(4 * 0.75f, grey, grey)},
    };
    // "ao2" measures against a copy of the grid 1 above it.
    TriMesh lifted = make_grid_mesh(4);
    for (Point3 &p : lifted.vertices)
        p.z += 1;
    ASSERT_TRUE(write_captured(dir.file("lifted.ply"), lifted).ok);
    for (const auto &c : cases) {
        std::vector<std::string> args = {dir.file(c.input)};
        for (const std::string &a : c.args)
            args.push_back(a == "LIFTED" ? dir.file("lifted.ply") : a);
        args.push_back(out());
        args.push_back("ignored");  // arguments after the output are not read
        const ProcessResult r = bake(args);
        EXPECT_EQ(r.status, 0) << c.args[0] << "\n" << r.err;
        SCOPED_TRACE(c.args[0]);
        expect_all(out_colours(), c.expected);
        std::remove(out().c_str());
    }
}

TEST_F(BakeRun, output_minus_goes_to_standard_output)
{
    const ProcessResult r = bake({in(), "col", "00ff00", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 4), "ply\n");
}

TEST_F(BakeRun, names_the_written_file_only_after_a_successful_write)
{
    const std::string missing_folder = dir.file("no/such/folder/out.ply");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string written;  // "" for none
    } cases[] = {
        {{"bake", in(), "norm", out()}, 0, out()},
        {{"bake", in(), "norm", "-"}, 0, ""},
        {{"bake", in(), "norm", missing_folder}, 1, ""},
        {{"bake", in(), "bdy", "-3", out()}, 1, ""},
        {{"bake", in(), "norm"}, 1, ""},
    };
    for (const auto &c : cases) {
        std::vector<char *> argv;
        for (const std::string &a : c.args)
            argv.push_back(const_cast<char *>(a.c_str()));
        const char *written = nullptr;
        testing::internal::CaptureStdout();
        const std::string err = stderr_of([&] { EXPECT_EQ(run_bake(int(argv.size()), argv.data(), written), c.status); });
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(written ? std::string(written) : "", c.written) << c.args.back() << "\n" << err;
    }
}
