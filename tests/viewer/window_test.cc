// The viewer windows as a person meets them: real processes on a private
// virtual display, driven by synthetic keys and mouse events, judged by
// screenshots (kept under the build folder's screenshots/).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "mesh_io.h"
#include "test_support.h"
#include "x_session.h"
#include "xform_file.h"

namespace {

constexpr unsigned char light_grey = 102, dark_grey = 20;  // the two backgrounds

// Pixels that are neither background nor ground grid: the meshes.
size_t mesh_pixels(const Image &image)
{
    size_t n = 0;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        const unsigned char r = image.rgb[i], g = image.rgb[i + 1], b = image.rgb[i + 2];
        const bool grey = r == g && g == b && (r == light_grey || r == dark_grey || r == 127 || r == 128);
        n += !grey;
    }
    return n;
}

size_t grid_pixels(const Image &image) { return image.count(127, 127, 127) + image.count(128, 128, 128); }

// The centre column of the mesh pixels in the left half of the image.
int left_mesh_column(const Image &image)
{
    long sum = 0, n = 0;
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width / 2; x++) {
            const unsigned char *p = &image.rgb[3 * size_t(y * image.width + x)];
            if (!(p[0] == p[1] && p[1] == p[2])) {
                sum += x;
                n++;
            }
        }
    return n ? int(sum / n) : -1;
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!x_tools_available())
            GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is not installed";
        ASSERT_TRUE(x.running()) << "Xvfb did not start";
    }

    // A unit square patch in the plane z = 0, shifted by x0 along x; facing the
    // viewer, or away from it (hidden until both sides are drawn).
    std::string patch(const std::string &name, float x0, bool facing = true)
    {
        TriMesh mesh = make_grid_mesh(5);
        for (Point3 &p : mesh.vertices)
            p.x = p.x / 4 + x0, p.y /= 4;
        if (!facing)
            for (Face &f : mesh.faces)
                std::swap(f[1], f[2]);
        const std::string file = dir.file(name);
        EXPECT_TRUE(write_mesh(file.c_str(), mesh));
        return file;
    }

    std::string torus()
    {
        const std::string file = dir.file("torus.ply");
        std::filesystem::copy_file(samples_dir() + "/bumpy_torus.ply", file);
        return file;
    }

    XServer x;
    TempDir dir;
};

} // namespace

TEST_F(WindowTest, viewer_draws_one_or_two_meshes_with_the_background_and_ground_grid)
{
    for (int n : {1, 2}) {
        const std::string file = torus();
        std::vector<std::string> files(size_t(n), file);
        if (n == 2)
            files[1] = patch("patch.ply", 2);
        WindowProgram viewer(x, "PolmeraViewer", files);
        ASSERT_TRUE(viewer.find_window("Polmera by Arkwell")) << viewer.err();
        const Image image = viewer.screenshot("viewer_" + std::to_string(n) + "_meshes");
        ASSERT_GT(image.width, 1000);
        EXPECT_GT(image.count(light_grey, light_grey, light_grey), size_t(image.width * image.height / 4));
        EXPECT_GT(mesh_pixels(image), 2000u);
        EXPECT_GT(grid_pixels(image), 100u);
        viewer.close_window();
        EXPECT_EQ(viewer.wait(), 0) << viewer.err();
        EXPECT_EQ(viewer.out(), "Polmera \n");
        std::filesystem::remove(file);
    }
}

TEST_F(WindowTest, keys_toggle_background_both_sides_wireframe_and_visibility)
{
    WindowProgram viewer(x, "PolmeraViewer", {patch("away.ply", 0, false)});
    ASSERT_TRUE(viewer.find_window("Polmera by Arkwell")) << viewer.err();
    viewer.xdotool("mousemove --window %w 500 400");
    Image before = viewer.screenshot("keys_start");
    EXPECT_EQ(mesh_pixels(before), 0u) << "a patch facing away is culled";
    struct Step {
        const char *key;
        bool shows_mesh;
        unsigned char background;
    };
    const Step steps[] = {{"d", true, light_grey}, {"w", true, light_grey}, {"b", true, dark_grey},
                          {"1", false, dark_grey}};
    for (const Step &step : steps) {
        viewer.xdotool(std::string("key ") + step.key);
        const Image after = viewer.screenshot(std::string("keys_after_") + step.key);
        EXPECT_GT(after.differing(before), 1000u) << step.key;
        EXPECT_EQ(mesh_pixels(after) > 1000, step.shows_mesh) << step.key;
        EXPECT_GT(after.count(step.background, step.background, step.background), 100000u) << step.key;
        before = after;
    }
    viewer.close_window();
    EXPECT_EQ(viewer.wait(), 0) << viewer.err();
}

TEST_F(WindowTest, double_click_selects_a_mesh_and_a_drag_moves_only_that_one)
{
    WindowProgram viewer(x, "PolmeraViewer", {patch("m0.ply", -2), patch("m1.ply", 2)});
    ASSERT_TRUE(viewer.find_window("Polmera by Arkwell")) << viewer.err();
    const int column = left_mesh_column(viewer.screenshot("select_start"));
    ASSERT_GT(column, 0);
    const std::string at = std::to_string(column) + " 400";
    viewer.xdotool("mousemove --window %w " + at + " click --repeat 2 --delay 60 1 sleep 0.3");
    viewer.xdotool("mousemove --window %w " + at + " mousedown 1 mousemove_relative 20 0 sleep 0.05 "
                   "mousemove_relative 20 10 sleep 0.05 mousemove_relative 20 10 sleep 0.4 mouseup 1");
    viewer.screenshot("select_moved");
    viewer.xdotool("key ctrl+x");
    viewer.close_window();
    EXPECT_EQ(viewer.wait(), 0) << viewer.err();
    EXPECT_EQ(viewer.out(), "Polmera \nWriting " + dir.file("m0.xf") + "\nWriting " + dir.file("m1.xf") + "\n");
    Matrix4 moved, kept;
    ASSERT_TRUE(read_xform_file(dir.file("m0.xf"), moved));
    ASSERT_TRUE(read_xform_file(dir.file("m1.xf"), kept));
    EXPECT_NE(moved, Matrix4());
    EXPECT_EQ(kept, Matrix4());
}

TEST_F(WindowTest, ctrl_x_saves_the_view_that_reopening_shows_again)
{
    const std::string file = torus();
    Image saved;
    {
        WindowProgram viewer(x, "PolmeraViewer", {file});
        ASSERT_TRUE(viewer.find_window("Polmera by Arkwell")) << viewer.err();
        viewer.xdotool("mousemove --window %w 500 400 mousedown 1 mousemove_relative 40 0 sleep 0.05 "
                       "mousemove_relative 40 30 sleep 0.4 mouseup 1 key ctrl+x");
        saved = viewer.screenshot("view_saved");
        viewer.close_window();
        EXPECT_EQ(viewer.wait(), 0) << viewer.err();
        EXPECT_EQ(viewer.out(), "Polmera \nWriting " + dir.file("torus.xf") + "\n");
    }
    WindowProgram reopened(x, "PolmeraViewer", {file});
    ASSERT_TRUE(reopened.find_window("Polmera by Arkwell"));
    reopened.xdotool("mousemove --window %w 500 400");
    const Image again = reopened.screenshot("view_reopened");
    EXPECT_LT(again.differing(saved), size_t(again.width * again.height / 100));
    reopened.close_window();
    EXPECT_EQ(reopened.wait(), 0) << reopened.err();
}

TEST_F(WindowTest, the_tools_show_their_result_until_the_window_is_closed)
{
    const std::string out = dir.file("result.ply");
    const std::vector<std::string> runs[] = {{"Stripline", torus(), "-tstrip", out},
                                             {"bake", dir.file("torus.ply"), "shape", "1", "0", out}};
    for (const auto &run : runs) {
        WindowProgram tool(x, run[0], {run.begin() + 1, run.end()});
        ASSERT_TRUE(tool.find_window("Polmera Viewer by Arkwell")) << tool.err();
        const Image image = tool.screenshot(run[0] + "_result");
        EXPECT_GT(mesh_pixels(image), 2000u) << run[0];
        EXPECT_EQ(grid_pixels(image), 0u) << run[0];
        tool.close_window();
        EXPECT_EQ(tool.wait(), 0) << tool.err();
        EXPECT_NE(tool.out().find(" msec."), std::string::npos) << run[0];
        EXPECT_TRUE(file_exists(out)) << run[0];
        std::filesystem::remove(out);
    }
}

TEST_F(WindowTest, without_a_display_with_the_switch_or_with_a_bad_size_no_window_waits)
{
    const std::string in = torus(), out = dir.file("out.ply");
    struct Case {
        std::vector<std::string> run;  // program and arguments
        std::string env;
        int status;
        std::string says;  // the end of the standard error stream, or of standard output for help
    };
    const std::string skipped = "The result viewer is skipped: ";
    const auto geometry = [](const std::string &value) {
        return "The window geometry [" + value + "] is not WIDTHxHEIGHT[+X+Y] with sides from 1 to 16384; "
               "no window is opened.\n";
    };
    const Case cases[] = {
        {{"Stripline", in, out}, "POLMERA_NO_VIEWER=1", 0, skipped + "POLMERA_NO_VIEWER is set.\n"},
        {{"Stripline", in, out}, "DISPLAY=", 0, skipped + "there is no display.\n"},
        {{"Stripline", in, out}, "DISPLAY=:9999", 0, skipped + "the display :9999 cannot be opened.\n"},
        {{"bake", in, "norm", out}, "POLMERA_NO_VIEWER=1", 0, skipped + "POLMERA_NO_VIEWER is set.\n"},
        {{"bake", in, "norm", "-"}, "", 0, "Writing standard output... Done.\n"},
        {{"PolmeraViewer", in}, "DISPLAY=", 1, "PolmeraViewer needs a display to show meshes, but there is no display.\n"},
        {{"PolmeraViewer", "-h"}, "DISPLAY=", 0, "/PolmeraViewer infile...\n"},
        // Window sizes that would take the GL's buffers beyond memory, or none.
        {{"PolmeraViewer", "-geometry", "99999999x99999999", in}, "", 1, geometry("99999999x99999999")},
        {{"PolmeraViewer", "-geometry", "0x0", in}, "", 1, geometry("0x0")},
        {{"PolmeraViewer", "-geometry", in}, "", 1, geometry(in)},
        {{"PolmeraViewer", in, "-geometry"}, "", 1, geometry("")},
        {{"Stripline", in, "-geometry", "+99999+0", out}, "", 1, geometry("+99999+0")},
    };
    for (const Case &c : cases) {
        const std::vector<std::string> env = c.env.empty() ? std::vector<std::string>{} : std::vector{c.env};
        WindowProgram tool(x, c.run[0], {c.run.begin() + 1, c.run.end()}, env);
        EXPECT_EQ(tool.wait(), c.status) << c.run[0] << " " << c.env;
        const std::string text = c.run.back() == "-h" ? tool.out() : tool.err();
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), c.says.size())), c.says) << text;
    }
}
