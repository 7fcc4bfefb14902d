// Stripline's placement options run as a process on a small mesh, with the
// positions of the written file checked.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "mesh_files.h"
#include "test_support.h"

namespace {

// A right triangle and a fourth point off its plane, so that every axis has
// its own spread: faces (0,1,2) and (0,2,3).
const std::vector<Point3> input_points = {{1, 1, 1}, {5, 1, 1}, {1, 3, 1}, {1, 1, 2}};

class StriplineTransform : public testing::Test {
protected:
    void SetUp() override
    {
        TriMesh mesh = make_mesh(input_points, {{0, 1, 2}, {0, 2, 3}});
        ASSERT_TRUE(write_captured(dir.file("in.ply"), mesh).ok);
    }

    // Runs Stripline in.ply ARGS out.ply and returns the positions written.
    std::vector<Point3> run(const std::vector<std::string> &args)
    {
        std::vector<std::string> all = {dir.file("in.ply")};
        all.insert(all.end(), args.begin(), args.end());
        all.push_back(dir.file("out.ply"));
        const ProcessResult r = run_program("Stripline", all);
        EXPECT_EQ(r.status, 0) << r.err;
        const auto mesh = read_captured(dir.file("out.ply")).mesh;
        return mesh ? mesh->vertices : std::vector<Point3>{};
    }

    // Positions of the input moved point by point.
    static std::vector<Point3> moved(const std::function<Point3(Point3)> &f)
    {
        std::vector<Point3> out;
        for (const Point3 &p : input_points)
            out.push_back(f(p));
        return out;
    }

    TempDir dir;
};

void expect_near(const std::vector<Point3> &got, const std::vector<Point3> &want, const std::string &what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); i++)
        for (int k = 0; k < 3; k++)
            EXPECT_NEAR(got[i][k], want[i][k], 1e-5) << what << " vertex " << i << " axis " << k;
}

Point3 centroid(const std::vector<Point3> &points)
{
    Point3 c;
    for (const Point3 &p : points)
        c += p;
    return c / float(points.size());
}

} // namespace

TEST_F(StriplineTransform, translation_rotation_and_scales_move_every_vertex)
{
    const struct {
        std::vector<std::string> args;
        std::function<Point3(Point3)> f;
    } cases[] = {
        {{"-trans", "1", "-2", "0.5"}, [](Point3 p) { return p + Point3(1, -2, 0.5f); }},
        {{"-translate", "1", "-2", "0.5"}, [](Point3 p) { return p + Point3(1, -2, 0.5f); }},
        {{"-rot", "90", "0", "0", "1"}, [](Point3 p) { return Point3(-p.y, p.x, p.z); }},
        {{"-rotate", "180", "1", "0", "0"}, [](Point3 p) { return Point3(p.x, -p.y, -p.z); }},
        {{"-scale", "2"}, [](Point3 p) { return p * 2.0f; }},
        {{"-scale", "2", "7"}, [](Point3 p) { return p * 2.0f; }},
        {{"-scale", "2", "3", "4"}, [](Point3 p) { return Point3(2 * p.x, 3 * p.y, 4 * p.z); }},
        {{"-scale", "3", "0", "0", "1"}, [](Point3 p) { return Point3(p.x, p.y, 3 * p.z); }},
    };
    for (const auto &c : cases) {
        std::string what;
        for (const std::string &a : c.args)
            what += a + " ";
        expect_near(run(c.args), moved(c.f), what);
    }
}

TEST_F(StriplineTransform, scale_stops_at_the_first_argument_that_is_no_number)
{
    // Four values at most: the fifth number is reported as no option.
    const ProcessResult r = run_program(
        "Stripline", {dir.file("in.ply"), "-scale", "1", "2", "3", "4", "5", dir.file("out.ply")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("supposed to be? eh? [5]"), std::string::npos);
    // "-scale 2" followed by the output name takes one value.
    expect_near(run({"-scale", "2"}), moved([](Point3 p) { return p * 2.0f; }), "-scale 2");
}

TEST_F(StriplineTransform, transform_files_apply_and_invert)
{
    // A translation by (1, 2, 3) in column-major rows of the file.
    write_file(dir.file("move.xf"), "1 0 0 1\n0 1 0 2\n0 0 1 3\n0 0 0 1\n");
    const auto plus = moved([](Point3 p) { return p + Point3(1, 2, 3); });
    const auto minus = moved([](Point3 p) { return p - Point3(1, 2, 3); });
    expect_near(run({"-xf", dir.file("move.xf")}), plus, "-xf");
    expect_near(run({" ", dir.file("move.xf")}), plus, "one blank");
    expect_near(run({"-ixf", dir.file("move.xf")}), minus, "-ixf");
    expect_near(run({"-ixform", dir.file("move.xf")}), minus, "-ixform");

    const ProcessResult r = run_program(
        "Stripline", {dir.file("in.ply"), "-xf", dir.file("missing.xf"), dir.file("out.ply")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("Couldn't open " + dir.file("missing.xf") + "\n"), std::string::npos);
}

TEST_F(StriplineTransform, placing_options_centre_and_normalise)
{
    const auto bbcentered = run({"-bbcenter"});
    ASSERT_EQ(bbcentered.size(), 4u);
    expect_near({bbcentered[1], bbcentered[2]}, {{2, -1, -0.5f}, {-2, 1, -0.5f}}, "-bbcenter");

    const auto bbnorm = run({"-bbnorm"});
    ASSERT_EQ(bbnorm.size(), 4u);
    EXPECT_NEAR(bbnorm[1].x - bbnorm[0].x, 1.0f, 1e-6);  // the longest side, x, becomes 1

    // The area-weighted centroid moves to the origin; with -varnorm the spread becomes 1.
    for (const char *option : {"-center", "-varnorm"}) {
        const auto placed = run({option});
        ASSERT_EQ(placed.size(), 4u) << option;
        EXPECT_NE(placed, input_points) << option;
    }

    // The principal axes: the longest spread lies along x afterwards.
    for (const char *option : {"-pcarot", "-pcasnap"}) {
        const auto turned = run({option});
        ASSERT_EQ(turned.size(), 4u) << option;
        Point3 spread;
        const Point3 c = centroid(turned);
        for (const Point3 &p : turned)
            for (int k = 0; k < 3; k++)
                spread[k] += (p[k] - c[k]) * (p[k] - c[k]);
        EXPECT_GT(spread.x, spread.y) << option;
        EXPECT_GT(spread.y, spread.z) << option;
    }
}

TEST_F(StriplineTransform, values_that_run_past_the_end_write_nothing)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"-rot", "90", "0"}, {"-trans", "1"}, {"-xf"}, {"-scale"}}) {
        std::vector<std::string> all = {dir.file("in.ply")};
        all.insert(all.end(), args.begin(), args.end());
        const ProcessResult r = run_program("Stripline", all);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find(args[0]), std::string::npos) << r.err;
    }
}
