// Command construction of every launching action, without a window.
#include <gtest/gtest.h>

#include <functional>

#include "commands.h"

namespace {

// Distinct texts in every field, so that each argument shows where it came from.
FieldValues sample_fields()
{
    FieldValues f;
    f.source = "C:/m/a.ply";
    f.destination = "C:/m/b.obj";
    f.poly_count = "5000";
    f.environment_scale = "E2";
    f.color_smoothing = "K3";
    f.world_scale = "W4";
    f.offset = "O5";
    f.gamma = "G6";
    return f;
}

void expect_command(const Operation &op, const QString &program, const QStringList &arguments)
{
    EXPECT_EQ(op.command.program, program);
    EXPECT_EQ(op.command.arguments, arguments);
}

}  // namespace

TEST(ReductionCommand, passes_source_obj_destination_count_and_option_words)
{
    FieldValues f = sample_fields();
    f.topologyOption = "-Ty ";
    const Operation op = reduce_polygons(f);
    expect_command(op, "Tidegate", {"C:/m/a.obj", "C:/m/b.obj", "5000", "-Ty", "-Hy"});
    EXPECT_EQ(op.source_update, SourceUpdate::AfterRun);
    EXPECT_EQ(op.next_source, "C:/m/b.obj");
    EXPECT_EQ(op.message, "");
}

TEST(ReductionCommand, passes_only_Hy_when_no_box_is_checked)
{
    expect_command(reduce_polygons(sample_fields()), "Tidegate", {"C:/m/a.obj", "C:/m/b.obj", "5000", "-Hy"});
}

TEST(ReductionCommand, orders_option_words_around_Hy)
{
    FieldValues f = sample_fields();
    f.normalsOption = "-Nn ";
    f.topologyOption = "-Ty ";
    f.repairOption = "-P";
    expect_command(reduce_polygons(f), "Tidegate",
                   {"C:/m/a.obj", "C:/m/b.obj", "5000", "-Nn", "-Ty", "-Hy", "-P"});
}

TEST(ReductionCommand, drops_an_empty_count_so_the_options_move_forward)
{
    FieldValues f = sample_fields();
    f.poly_count = "";
    f.repairOption = "-P";
    expect_command(reduce_polygons(f), "Tidegate", {"C:/m/a.obj", "C:/m/b.obj", "-Hy", "-P"});
}

TEST(ReductionSource, replaces_the_extension_by_obj)
{
    EXPECT_EQ(reduction_source("C:/m/head.ply"), "C:/m/head.obj");
    EXPECT_EQ(reduction_source("C:/m/head.obj"), "C:/m/head.obj");
    EXPECT_EQ(reduction_source("C:/m/head.stl"), "C:/m/head.obj");
}

TEST(ReductionSource, cuts_one_more_character_when_no_dot_remains)
{
    EXPECT_EQ(reduction_source("C:/x/abcd"), "C:/x/.obj");
    EXPECT_EQ(reduction_source("Source Model"), "Source M.obj");
}

TEST(ReductionSource, cuts_from_a_dot_in_a_folder_name_when_the_file_has_none)
{
    EXPECT_EQ(reduction_source("C:/m.d/file"), "C:/m.obj");
}

TEST(ReductionSource, leaves_only_the_extension_for_very_short_sources)
{
    EXPECT_EQ(reduction_source(""), ".obj");
    EXPECT_EQ(reduction_source("ab"), ".obj");
    EXPECT_EQ(reduction_source("abc"), ".obj");
    EXPECT_EQ(reduction_source("a.ply"), "a.obj");
}

TEST(ReductionSource, keeps_a_source_with_blanks_as_one_argument)
{
    FieldValues f = sample_fields();
    f.source = "Source Model";
    EXPECT_EQ(reduce_polygons(f).command.arguments.first(), "Source M.obj");
}

TEST(FilterCommands, put_the_option_between_source_and_destination_and_chain_first)
{
    struct Case {
        std::function<Operation(const FieldValues &)> build;
        QStringList options;
        QString message;
    };
    const std::vector<Case> cases{
        {tri_strip, {"-tstrip"}, "FINISHED"},
        {tri_unpack, {"-notstrip"}, "FINISHED"},
        {edge_optimize, {"-edgeflip"}, "fINISHED"},
        {optimize_faces, {"-orient"}, "FINISHED"},
        {optimize_vert_numbers, {"-reorder"}, "FINISHED"},
        {smooth_mesh, {"-smooth", "E2"}, "FINISHED"},
        {add_noise, {"-noise", "E2"}, "FINISHED"},
        {fix_model, {"-rmverts", "-rmfaces"}, "FINISHED"},
        {subdivide, {"-subD"}, "FINISHED"},
        {subd_loop, {"-subDloop"}, "FIUNISHED"},
        {subd_fly, {"-subDfly"}, "FINISHED"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const Operation op = c.build(sample_fields());
        expect_command(op, "Stripline", QStringList{"C:/m/a.ply"} + c.options + QStringList{"C:/m/b.obj"});
        EXPECT_EQ(op.source_update, SourceUpdate::BeforeRun);
        EXPECT_EQ(op.next_source, "C:/m/b.obj");
        EXPECT_EQ(op.message, c.message);
    }
}

TEST(FilterCommands, drop_an_empty_amount)
{
    FieldValues f = sample_fields();
    f.environment_scale = "";
    expect_command(smooth_mesh(f), "Stripline", {"C:/m/a.ply", "-smooth", "C:/m/b.obj"});
}

TEST(FilterCommands, keep_paths_with_blanks_whole)
{
    FieldValues f = sample_fields();
    f.source = "C:/my models/a b.ply";
    f.destination = "C:/out dir/c.ply";
    expect_command(tri_strip(f), "Stripline", {"C:/my models/a b.ply", "-tstrip", "C:/out dir/c.ply"});
}

TEST(BakeCommands, pass_sub_command_and_numbers_in_field_order)
{
    const FieldValues f = sample_fields();
    expect_command(norm_bake(f), "bake", {"C:/m/a.ply", "normals", "C:/m/b.obj"});
    expect_command(amb_occ(f), "bake", {"C:/m/a.ply", "ao", "E2", "K3", "C:/m/b.obj"});
    expect_command(correct_colour(f), "bake", {"C:/m/a.ply", "colReamp", "W4", "O5", "G6", "C:/m/b.obj"});
    for (const Operation &op : {norm_bake(f), amb_occ(f), correct_colour(f)}) {
        EXPECT_EQ(op.source_update, SourceUpdate::BeforeRun);
        EXPECT_EQ(op.next_source, "C:/m/b.obj");
        EXPECT_EQ(op.message, "FINISHED");
    }
}

TEST(BakeCommands, shift_the_numbers_forward_over_an_empty_field)
{
    FieldValues f = sample_fields();
    f.environment_scale = "";
    expect_command(amb_occ(f), "bake", {"C:/m/a.ply", "ao", "K3", "C:/m/b.obj"});
}

TEST(ViewCommands, show_one_path_and_change_nothing)
{
    const FieldValues f = sample_fields();
    for (const auto &[op, path] : {std::pair{view_source(f), "C:/m/a.ply"}, {view_destination(f), "C:/m/b.obj"}}) {
        expect_command(op, "PolmeraViewer", {path});
        EXPECT_EQ(op.source_update, SourceUpdate::Unchanged);
        EXPECT_EQ(op.message, "");
    }
}

TEST(OutsideCommands, fill_holes_with_c_first_and_chain_afterwards)
{
    const Operation op = fill_holes(sample_fields());
    expect_command(op, "hole", {"-c", "C:/m/a.ply", "C:/m/b.obj"});
    EXPECT_EQ(op.source_update, SourceUpdate::AfterRun);
    EXPECT_EQ(op.next_source, "C:/m/b.obj");
    EXPECT_EQ(op.message, "FINISHED");
}

TEST(OutsideCommands, merge_into_the_merged_file_which_becomes_the_source)
{
    const Operation op = merge_meshes(sample_fields(), "/t/MERGED.obj");
    expect_command(op, "merge", {"C:/m/a.ply", "C:/m/b.obj", "-o", "/t/MERGED.obj"});
    EXPECT_EQ(op.source_update, SourceUpdate::BeforeRun);
    EXPECT_EQ(op.next_source, "/t/MERGED.obj");
    EXPECT_EQ(op.message, "FINISHED");
}
