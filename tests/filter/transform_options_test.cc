#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "options.h"
#include "test_support.h"
#include "xform_file.h"

namespace {

const Option &find_option(std::string_view name)
{
    for (const Option &option : transform_options())
        for (std::string_view n : option.names)
            if (n == name)
                return option;
    throw std::runtime_error("no option " + std::string(name));
}

// Runs the option's row on the mesh with the given following arguments and
// returns what it consumed.
int run_option(TriMesh &mesh, std::string_view name, std::vector<std::string> args)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    FilterRun run{mesh};
    return find_option(name).apply(run, OptionArgs(argv.data(), argv.size()));
}

void expect_point_near(const Point3 &a, const Point3 &b, float tol = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TriMesh unit_points() { return make_mesh({Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, 0, 1)}); }

} // namespace

TEST(TransformOptions, rot_turns_by_degrees_about_the_axis)
{
    TriMesh mesh = unit_points();
    EXPECT_EQ(run_option(mesh, "-rot", {"90", "0", "0", "1", "out.ply"}), 4);
    expect_point_near(mesh.vertices[0], Point3(0, 1, 0));
    expect_point_near(mesh.vertices[1], Point3(-1, 0, 0));
    EXPECT_EQ(run_option(mesh, "-rotate", {"-90", "0", "0", "2"}), 4);
    expect_point_near(mesh.vertices[0], Point3(1, 0, 0));
}

TEST(TransformOptions, trans_translates)
{
    TriMesh mesh = unit_points();
    EXPECT_EQ(run_option(mesh, "-translate", {"1", "-2", "0.5"}), 3);
    expect_point_near(mesh.vertices[2], Point3(1, -2, 1.5f));
}

TEST(TransformOptions, scale_takes_one_to_four_numbers)
{
    TriMesh one = unit_points();
    EXPECT_EQ(run_option(one, "-scale", {"2", "out.ply"}), 1);
    expect_point_near(one.vertices[1], Point3(0, 2, 0));

    TriMesh two = unit_points();
    EXPECT_EQ(run_option(two, "-scale", {"3", "5"}), 2);
    expect_point_near(two.vertices[2], Point3(0, 0, 3));

    TriMesh three = unit_points();
    EXPECT_EQ(run_option(three, "-scale", {"2", "3", "4", "-center"}), 3);
    expect_point_near(three.vertices[0], Point3(2, 0, 0));
    expect_point_near(three.vertices[1], Point3(0, 3, 0));
    expect_point_near(three.vertices[2], Point3(0, 0, 4));

    TriMesh four = unit_points();
    EXPECT_EQ(run_option(four, "-scale", {"2", "0", "0", "1", "5", "out.ply"}), 4);
    expect_point_near(four.vertices[0], Point3(1, 0, 0));
    expect_point_near(four.vertices[2], Point3(0, 0, 2));
}

TEST(TransformOptions, scale_without_a_number_is_incomplete)
{
    TriMesh mesh = unit_points();
    EXPECT_EQ(run_option(mesh, "-scale", {}), incomplete_option);
    EXPECT_EQ(run_option(mesh, "-scale", {"out.ply"}), incomplete_option);
    EXPECT_EQ(mesh.vertices, unit_points().vertices);
}

TEST(TransformOptions, values_past_the_end_are_incomplete)
{
    TriMesh mesh = unit_points();
    EXPECT_EQ(run_option(mesh, "-rot", {"90", "0", "0"}), incomplete_option);
    EXPECT_EQ(run_option(mesh, "-trans", {"1", "2"}), incomplete_option);
    EXPECT_EQ(run_option(mesh, "-xf", {}), incomplete_option);
    EXPECT_EQ(run_option(mesh, "-ixf", {}), incomplete_option);
    EXPECT_EQ(mesh.vertices, unit_points().vertices);
}

TEST(TransformOptions, xf_applies_the_file_and_ixf_its_inverse)
{
    TempDir dir;
    const std::string file = dir.file("m.xf");
    ASSERT_TRUE(write_xform_file(file, Matrix4::translation(1, 2, 3) * Matrix4::scale(2)));
    TriMesh mesh = unit_points();
    EXPECT_EQ(run_option(mesh, "-xf", {file}), 1);
    expect_point_near(mesh.vertices[0], Point3(3, 2, 3));
    EXPECT_EQ(run_option(mesh, " ", {file}), 1);
    expect_point_near(mesh.vertices[0], Point3(7, 6, 9));
    EXPECT_EQ(run_option(mesh, "-ixf", {file}), 1);
    EXPECT_EQ(run_option(mesh, "-ixform", {file}), 1);
    expect_point_near(mesh.vertices[0], Point3(1, 0, 0));
}

TEST(TransformOptions, unreadable_xf_file_is_reported_and_changes_nothing)
{
    TempDir dir;
    write_file(dir.file("short.xf"), "1 0 0 0 0 1 0 0");
    for (const std::string &name : {dir.file("missing.xf"), dir.file("short.xf")}) {
        TriMesh mesh = unit_points();
        testing::internal::CaptureStderr();
        EXPECT_EQ(run_option(mesh, "-xf", {name}), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Couldn't open " + name + "\n");
        EXPECT_EQ(mesh.vertices, unit_points().vertices);
    }
}

TEST(TransformOptions, placement_rows_run_their_operation)
{
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(4, 0, 0), Point3(0, 2, 0), Point3(4, 2, 2)});
    EXPECT_EQ(run_option(mesh, "-bbnorm", {"out.ply"}), 0);
    expect_point_near(mesh.vertices[3], Point3(2.5f, 1.25f, 1.25f));
    EXPECT_EQ(run_option(mesh, "-bbcenter", {}), 0);
    expect_point_near(mesh.vertices[3], Point3(0.5f, 0.25f, 0.25f));
    EXPECT_EQ(run_option(mesh, "-center", {}), 0);
    expect_point_near(mesh.vertices[0] + mesh.vertices[1] + mesh.vertices[2] + mesh.vertices[3],
                      Point3(0, 0, 0));
    EXPECT_EQ(run_option(mesh, "-varnorm", {}), 0);
    float spread = 0;
    for (const Point3 &p : mesh.vertices)
        spread += len2(p) / 4;
    EXPECT_NEAR(spread, 1.0f, 1e-5f);
    EXPECT_EQ(run_option(mesh, "-pcarot", {}), 0);
    EXPECT_EQ(run_option(mesh, "-pcasnap", {}), 0);
    EXPECT_EQ(invariant_violation(mesh), "");
}
