#include <gtest/gtest.h>

#include "mesh_io.h"
#include "shape_meshes.h"
#include "subdivide.h"
#include "test_support.h"

namespace {

TriMesh noisy_sphere()
{
    TriMesh mesh = make_sphere(2);
    roughen(mesh, 0.05f);
    return mesh;
}

} // namespace

TEST(SurfaceOptions, subdivision_options_pick_their_scheme)
{
    const std::pair<const char *, SubdivScheme> rows[] = {
        {"-subD", SubdivScheme::midpoint},
        {"-subDloop", SubdivScheme::loop},
        {"-loop2", SubdivScheme::loop_formula},
        {"-loop3", SubdivScheme::loop_extraordinary},
        {"-fly2", SubdivScheme::butterfly},
        {"-subDfly", SubdivScheme::butterfly_extraordinary}};
    for (const auto &[name, scheme] : rows) {
        TriMesh by_option = make_octahedron(), direct = make_octahedron();
        EXPECT_EQ(run_surface_option(by_option, name, {"out.ply"}), 0);
        subdivide(direct, scheme);
        EXPECT_EQ(by_option.vertices, direct.vertices) << name;
        EXPECT_EQ(by_option.faces, direct.faces) << name;
    }
}

TEST(SurfaceOptions, smoothing_rows_consume_their_values_and_clear_derived_data)
{
    for (const char *name : {"-smooth", "-sharpen"}) {
        TriMesh mesh = noisy_sphere();
        EXPECT_EQ(run_surface_option(mesh, name, {"1", "out.ply"}), 1);
        EXPECT_NE(mesh.vertices, noisy_sphere().vertices);
        EXPECT_TRUE(mesh.normals.empty()) << name;
        EXPECT_TRUE(mesh.point_areas.empty()) << name;
    }
    TriMesh mesh = noisy_sphere();
    EXPECT_EQ(run_surface_option(mesh, "-bilat", {"2", "1", "out.ply"}), 2);
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_EQ(run_surface_option(mesh, "-smoothnorm", {"1"}), 1);
    EXPECT_EQ(mesh.normals.size(), mesh.vertices.size());
    EXPECT_EQ(run_surface_option(mesh, "-smooth2", {"3"}), 1);
    EXPECT_EQ(run_surface_option(mesh, "-inflate", {"0.5"}), 1);
    EXPECT_EQ(run_surface_option(mesh, "-noise", {"0.1"}), 1);
    EXPECT_EQ(invariant_violation(mesh), "");
    EXPECT_TRUE(all_finite(mesh));
}

TEST(SurfaceOptions, widths_are_multiples_of_the_feature_size)
{
    // The flat grid's feature size is 1 whatever faces are sampled.
    TriMesh grid = make_grid_mesh(5);
    EXPECT_EQ(run_surface_option(grid, "-inflate", {"0.25"}), 1);
    EXPECT_FLOAT_EQ(grid.vertices[12].z, 0.25f);
}

TEST(SurfaceOptions, a_width_that_reads_as_zero_changes_nothing)
{
    for (const char *text : {"0", "abc", "-2"}) {
        TriMesh mesh = noisy_sphere();
        const std::string log = stderr_of([&] {
            run_surface_option(mesh, "-smooth", {text});
            run_surface_option(mesh, "-bilat", {text, "1"});
            run_surface_option(mesh, "-sharpen", {text});
            run_surface_option(mesh, "-smoothnorm", {text});
            run_surface_option(mesh, "-noise", {text});
        });
        EXPECT_EQ(mesh.vertices, noisy_sphere().vertices) << text;
        EXPECT_NE(log.find("cannot be used"), std::string::npos);
    }
}

TEST(SurfaceOptions, stripline_smooths_and_subdivides_the_sample)
{
    TempDir dir;
    const std::string out = dir.file("result.ply");
    const ProcessResult run = run_program(
        "Stripline", {samples_dir() + "/bumpy_torus.ply", "-smooth", "1", "-subDloop", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Smoothing... Done.  Filtering took"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Subdividing mesh... Done.\n"), std::string::npos) << run.err;
    const auto mesh = read_mesh(out.c_str());
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->faces.size(), 4u * 4608u);
    EXPECT_EQ(mesh->vertices.size(), 4u * 2304u);
    EXPECT_EQ(mesh->colors.size(), mesh->vertices.size());
}

TEST(SurfaceOptions, noise_repeats_from_run_to_run)
{
    TempDir dir;
    const std::string input = samples_dir() + "/bumpy_torus.ply";
    std::string outputs[3];
    for (int i = 0; i < 3; i++) {
        const std::string out = dir.file("noisy" + std::to_string(i) + ".ply");
        std::vector<std::string> args = {input, "-noise", "0.5"};
        if (i == 2)
            args.insert(args.end(), {"-noise", "0.5"});
        args.push_back(out);
        ASSERT_EQ(run_program("Stripline", args).status, 0);
        outputs[i] = read_file(out);
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_NE(outputs[0], read_file(input));
    EXPECT_NE(outputs[2], outputs[0]);
}
