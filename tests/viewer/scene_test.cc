#include <gtest/gtest.h>

#include "fake_frame.h"
#include "mesh_io.h"
#include "scene.h"
#include "test_support.h"
#include "xform_file.h"

namespace {

// A viewer holding one small tetrahedron per centre, read from files in `dir`
// named m0.ply, m1.ply, ...
Viewer viewer_of(const TempDir &dir, const std::vector<Point3> &centres)
{
    Viewer viewer;
    for (size_t i = 0; i < centres.size(); i++) {
        const Point3 c = centres[i];
        TriMesh mesh = make_mesh({c + Point3(1, 0, 0), c + Point3(-1, 0, 0), c + Point3(0, 1, 0), c + Point3(0, 0, 1)},
                                 {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}});
        const std::string name = dir.file(std::string("m").append(std::to_string(i)).append(".ply"));
        EXPECT_TRUE(write_mesh(name.c_str(), mesh));
        EXPECT_TRUE(add_mesh(viewer, name.c_str(), transform_file_name(name)));
    }
    return viewer;
}

void expect_near(const Matrix4 &a, const Matrix4 &b)
{
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(a[i], b[i], 1e-4) << "element " << i;
}

} // namespace

TEST(Scene, loaded_meshes_are_ready_to_draw)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}});
    const TriMesh &mesh = viewer.meshes[0];
    EXPECT_EQ(mesh.normals.size(), 4u);
    EXPECT_FALSE(mesh.tristrips.empty());
    EXPECT_TRUE(mesh.bounding_sphere.valid);
    EXPECT_EQ(viewer.transform_file_names[0], dir.file("m0.xf"));
    EXPECT_FALSE(add_mesh(viewer, dir.file("missing.ply").c_str(), "x.xf"));
    EXPECT_EQ(viewer.meshes.size(), 1u);
}

TEST(Scene, reset_view_frames_the_visible_meshes_and_reads_placements)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}, {10, 0, 0}});
    reset_view(viewer);
    const float r = viewer.meshes[0].bounding_sphere.radius;
    EXPECT_NEAR(viewer.scene_center.x, 5, 1e-5);
    EXPECT_NEAR(viewer.scene_radius, 5 + r, 1e-4);
    expect_near(viewer.global_xform, Matrix4::translation(0, 0, -5 * viewer.scene_radius) *
                                         Matrix4::translation(-viewer.scene_center.x, -viewer.scene_center.y,
                                                              -viewer.scene_center.z));

    // A hidden mesh leaves the bounds; a placement file moves its mesh.
    viewer.visible[1] = false;
    update_bounds(viewer);
    EXPECT_NEAR(viewer.scene_center.x, viewer.meshes[0].bounding_sphere.center.x, 1e-5);
    viewer.visible[1] = true;
    const Matrix4 moved = Matrix4::translation(0, 3, 0);
    ASSERT_TRUE(write_xform_file(dir.file("m1.xf"), moved));
    viewer.mesh_xforms[0] = Matrix4::translation(7, 7, 7);  // unsaved moves are discarded
    reset_view(viewer);
    EXPECT_EQ(viewer.mesh_xforms[0], Matrix4());
    EXPECT_EQ(viewer.mesh_xforms[1], moved);
}

TEST(Scene, a_single_mesh_placement_becomes_the_scene_placement)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}});
    const Matrix4 view = Matrix4::translation(0, 0, -20) * Matrix4::rotation(0.5, 0, 1, 0);
    ASSERT_TRUE(write_xform_file(dir.file("m0.xf"), view));
    reset_view(viewer);
    expect_near(viewer.global_xform, view);
    EXPECT_EQ(viewer.mesh_xforms[0], Matrix4());

    // Ctrl-X writes it back, and a new viewer reproduces the view.
    viewer.global_xform = Matrix4::translation(1, 2, -30);
    testing::internal::CaptureStdout();
    handle_key(viewer, 24);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Writing " + dir.file("m0.xf") + "\n");
    Viewer reopened = viewer_of(dir, {{0, 0, 0}});
    reset_view(reopened);
    EXPECT_EQ(reopened.global_xform, viewer.global_xform);
}

TEST(Scene, several_meshes_write_their_own_placements_and_report_failures)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}, {4, 0, 0}});
    viewer.mesh_xforms[1] = Matrix4::translation(0, 1, 0);
    viewer.transform_file_names[0] = dir.file("no/such/folder/m0.xf");
    testing::internal::CaptureStdout();
    const std::string err = stderr_of([&] { write_transforms(viewer); });
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Writing " + dir.file("no/such/folder/m0.xf") + "\nWriting " + dir.file("m1.xf") + "\n");
    EXPECT_EQ(err, "Couldn't write " + dir.file("no/such/folder/m0.xf") + "\n");
    Matrix4 written;
    ASSERT_TRUE(read_xform_file(dir.file("m1.xf"), written));
    EXPECT_EQ(written, viewer.mesh_xforms[1]);
}

TEST(Scene, buttons_and_modifiers_choose_the_drag_mode)
{
    const std::pair<int, DragMode> cases[] = {
        {0, DragMode::none},        {1, DragMode::rotate},    {2, DragMode::pan},        {3, DragMode::dolly},
        {4, DragMode::dolly},       {5, DragMode::pan},       {6, DragMode::pan},        {7, DragMode::pan},
        {8, DragMode::wheel_up},    {16, DragMode::wheel_down}, {ctrl_bit | 1, DragMode::light},
        {ctrl_bit | 8, DragMode::wheel_up}};
    for (auto [flags, mode] : cases)
        EXPECT_EQ(drag_mode(flags), mode) << "flags " << flags;
}

TEST(Scene, a_second_press_of_the_same_buttons_within_a_quarter_second_is_a_double_click)
{
    const uint64_t second = 1'000'000'000;  // steady-clock ticks are nanoseconds here
    Viewer viewer;
    EXPECT_FALSE(register_button(viewer, left_button, true, false, 10 * second));
    EXPECT_FALSE(register_button(viewer, left_button, false, false, 10 * second));
    EXPECT_TRUE(register_button(viewer, left_button, true, false, 10 * second + second / 5));
    EXPECT_FALSE(register_button(viewer, left_button, false, false, 11 * second));
    // Too slow, then other buttons, then Ctrl on the second press.
    EXPECT_FALSE(register_button(viewer, left_button, true, false, 12 * second));
    register_button(viewer, left_button, false, false, 12 * second);
    EXPECT_FALSE(register_button(viewer, left_button, true, false, 13 * second));
    register_button(viewer, left_button, false, false, 13 * second);
    EXPECT_FALSE(register_button(viewer, right_button, true, false, 13 * second + 1));
    register_button(viewer, right_button, false, false, 13 * second + 2);
    EXPECT_FALSE(register_button(viewer, right_button, true, true, 13 * second + 3));
    EXPECT_EQ(viewer.button_flags, ctrl_bit | (1 << right_button));
}

TEST(Scene, keys_and_menu_entries_toggle_the_display)
{
    using Field = bool Viewer::*;
    const std::tuple<unsigned char, int, std::vector<Field>> cases[] = {
        {'b', 5, {&Viewer::light_background}}, {'d', 1, {&Viewer::double_sided}},
        {'w', 3, {&Viewer::wireframe}},        {'s', 4, {&Viewer::specular}},
        {'l', 0, {&Viewer::wireframe, &Viewer::lighting}}};
    for (const auto &[key, entry, fields] : cases) {
        Viewer viewer;
        const Viewer before;
        handle_key(viewer, key);
        for (Field f : fields)
            EXPECT_NE(viewer.*f, before.*f) << key;
        if (entry) {
            handle_menu(viewer, entry);
            EXPECT_EQ(viewer.*fields[0], before.*fields[0]) << "menu entry " << entry;
        }
    }
    Viewer viewer;
    handle_menu(viewer, 2);
    EXPECT_FALSE(viewer.lighting);
}

TEST(Scene, number_keys_hide_meshes_and_space_deselects_before_it_resets)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}, {4, 0, 0}});
    reset_view(viewer);
    handle_key(viewer, '3');  // past the last mesh
    EXPECT_EQ(viewer.visible, std::vector<bool>({true, true}));

    viewer.selected = 1;
    viewer.mesh_xforms[1] = Matrix4::translation(0, 5, 0);
    handle_key(viewer, ' ');
    EXPECT_EQ(viewer.selected, -1);
    EXPECT_EQ(viewer.mesh_xforms[1], Matrix4::translation(0, 5, 0));
    handle_key(viewer, ' ');
    EXPECT_EQ(viewer.mesh_xforms[1], Matrix4());

    viewer.selected = 1;
    handle_key(viewer, '2');
    EXPECT_EQ(viewer.visible, std::vector<bool>({true, false}));
    EXPECT_EQ(viewer.selected, -1);
}

TEST(Scene, double_clicks_select_deselect_and_leave_the_background_alone)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}, {4, 0, 0}});
    viewer.button_flags = 1 << left_button;
    EXPECT_TRUE(apply_pick(viewer, left_button, 1));
    EXPECT_EQ(viewer.selected, 1);
    const int background = 0x808080;
    EXPECT_TRUE(apply_pick(viewer, left_button, background));
    EXPECT_EQ(viewer.selected, -1);

    viewer.selected = 1;
    viewer.button_flags = 1 << right_button;
    const Matrix4 before = viewer.mesh_xforms[1];
    EXPECT_FALSE(apply_pick(viewer, right_button, background));
    EXPECT_FALSE(apply_pick(viewer, right_button, 1));  // the selected mesh itself
    EXPECT_EQ(viewer.selected, 1);
    EXPECT_EQ(viewer.mesh_xforms[1], before);
}

TEST(Scene, dragging_with_a_selection_moves_only_the_selected_mesh)
{
    TempDir dir;
    Viewer viewer = viewer_of(dir, {{0, 0, 0}, {4, 0, 0}});
    reset_view(viewer);
    const Matrix4 scene = viewer.global_xform;
    viewer.selected = 0;
    FakeFrame frame;
    frame.put_surface(-10, 0, 0, 199, 99);
    viewer.button_flags = 1 << middle_button;  // pan
    pointer_moved(viewer, frame, 100, 50);
    EXPECT_TRUE(pointer_moved(viewer, frame, 120, 50));
    viewer.button_flags = 0;
    pointer_moved(viewer, frame, 120, 50);
    EXPECT_EQ(viewer.global_xform, scene);
    EXPECT_EQ(viewer.mesh_xforms[1], Matrix4());
    EXPECT_GT(viewer.mesh_xforms[0](0, 3), 0);  // moved to the right
    EXPECT_NEAR(viewer.mesh_xforms[0](1, 3), 0, 1e-6);
}
