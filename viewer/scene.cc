#include "scene.h"

#include <algorithm>
#include <cstdio>

#include "align.h"
#include "console.h"
#include "mesh_io.h"
#include "xform_file.h"

namespace {

constexpr float double_click_seconds = 0.25f;

void stop_selection(Viewer &viewer)
{
    viewer.selected = -1;
    viewer.camera.stop_spin();
}

bool valid_visible(const Viewer &viewer, int index)
{
    return index >= 0 && index < int(viewer.meshes.size()) && viewer.visible[index];
}

// Aligns the selected mesh to mesh `target` when both are visible and differ.
bool align_selected(Viewer &viewer, int target)
{
    const int s = viewer.selected;
    if (s < 0 || target == s || !valid_visible(viewer, target) || !valid_visible(viewer, s))
        return false;
    align_meshes(viewer.meshes[s], viewer.meshes[target], viewer.mesh_xforms[s], viewer.mesh_xforms[target]);
    update_bounds(viewer);
    return true;
}

} // namespace

bool add_mesh(Viewer &viewer, const char *file_name, const std::string &xf_name)
{
    auto mesh = read_mesh(file_name);
    if (!mesh)
        return false;
    mesh->ensure_normals();
    mesh->ensure_tristrips();
    mesh->ensure_bounding_sphere();
    viewer.meshes.push_back(std::move(*mesh));
    viewer.mesh_xforms.emplace_back();
    viewer.transform_file_names.push_back(xf_name);
    viewer.visible.push_back(true);
    return true;
}

void update_bounds(Viewer &viewer)
{
    Point3 lo(1e38f, 1e38f, 1e38f), hi(-1e38f, -1e38f, -1e38f);
    std::vector<std::pair<Point3, float>> spheres;
    for (size_t i = 0; i < viewer.meshes.size(); i++) {
        const BoundingSphere &bs = viewer.meshes[i].bounding_sphere;
        if (!viewer.visible[i] || !bs.valid)
            continue;
        const Point3 c = viewer.mesh_xforms[i] * bs.center;
        for (int k = 0; k < 3; k++) {
            lo[k] = std::min(lo[k], c[k] - bs.radius);
            hi[k] = std::max(hi[k], c[k] + bs.radius);
        }
        spheres.emplace_back(c, bs.radius);
    }
    if (spheres.empty())
        return;
    viewer.scene_center = 0.5f * (lo + hi);
    viewer.scene_radius = 0;
    for (const auto &[c, r] : spheres)
        viewer.scene_radius = std::max(viewer.scene_radius, len(viewer.scene_center - c) + r);
}

void reset_view(Viewer &viewer)
{
    viewer.camera.stop_spin();
    std::vector<bool> read(viewer.meshes.size());
    for (size_t i = 0; i < viewer.meshes.size(); i++) {
        viewer.mesh_xforms[i] = Matrix4();
        read[i] = read_xform_file(viewer.transform_file_names[i], viewer.mesh_xforms[i]);
    }
    update_bounds(viewer);
    const Point3 &c = viewer.scene_center;
    viewer.global_xform = Matrix4::translation(0, 0, -5.0 * viewer.scene_radius) * Matrix4::translation(-c.x, -c.y, -c.z);
    if (viewer.meshes.size() == 1 && read[0]) {
        viewer.global_xform = viewer.mesh_xforms[0];
        viewer.mesh_xforms[0] = Matrix4();
        update_bounds(viewer);
    }
}

DragMode drag_mode(int button_flags)
{
    if (button_flags & (1 << wheel_up_button))
        return DragMode::wheel_up;
    if (button_flags & (1 << wheel_down_button))
        return DragMode::wheel_down;
    if (button_flags & ctrl_bit)
        return DragMode::light;
    constexpr DragMode by_buttons[8] = {DragMode::none, DragMode::rotate, DragMode::pan,
                                        DragMode::dolly, DragMode::dolly, DragMode::pan,
                                        DragMode::pan,  DragMode::pan};
    return by_buttons[button_flags & 7];
}

bool register_button(Viewer &viewer, int button, bool down, bool ctrl, uint64_t now)
{
    viewer.button_flags = ctrl ? viewer.button_flags | ctrl_bit : viewer.button_flags & ~ctrl_bit;
    // GLUT numbers at most a few buttons; others cannot be held as a bit.
    const int bit = button >= 0 && button < 30 ? 1 << button : 0;
    if (!down) {
        viewer.button_flags &= ~bit;
        return false;
    }
    viewer.button_flags |= bit;
    if (viewer.button_flags == viewer.last_press_flags &&
        elapsed_seconds(viewer.last_press_time, now) < double_click_seconds) {
        viewer.last_press_flags = 0;
        return true;
    }
    viewer.last_press_time = now;
    viewer.last_press_flags = viewer.button_flags;
    return false;
}

Target current_target(const Viewer &viewer)
{
    if (viewer.selected < 0)
        return {viewer.global_xform, viewer.global_xform * viewer.scene_center, viewer.scene_radius};
    const Matrix4 m = viewer.global_xform * viewer.mesh_xforms[viewer.selected];
    const BoundingSphere &bs = viewer.meshes[viewer.selected].bounding_sphere;
    return {m, m * bs.center, bs.radius};
}

void store_target(Viewer &viewer, const Matrix4 &xform)
{
    if (viewer.selected < 0) {
        viewer.global_xform = xform;
        return;
    }
    viewer.mesh_xforms[viewer.selected] = inverse(viewer.global_xform) * xform;
    update_bounds(viewer);
}

bool pointer_moved(Viewer &viewer, FrameAccess &frame, int x, int y)
{
    const DragMode mode = drag_mode(viewer.button_flags);
    Target target = current_target(viewer);
    viewer.camera.handle_pointer(frame, x, y, mode, target.center, target.radius, target.xform);
    store_target(viewer, target.xform);
    return mode != DragMode::none;
}

bool advance_idle(Viewer &viewer)
{
    Target target = current_target(viewer);
    const bool moved = viewer.camera.advance_spin(target.xform);
    store_target(viewer, target.xform);
    return moved;
}

bool apply_pick(Viewer &viewer, int button, int index)
{
    const int left = 1 << left_button, right = 1 << right_button;
    if (button != left_button && viewer.button_flags != left) {
        if (button == right_button || viewer.button_flags == right)
            return align_selected(viewer, index);
        return false;
    }
    viewer.selected = valid_visible(viewer, index) ? index : -1;
    viewer.camera.stop_spin();
    return true;
}

void handle_key(Viewer &viewer, unsigned char key)
{
    switch (key) {
    case 24:  // Ctrl-X
        write_transforms(viewer);
        break;
    case ' ':
        if (viewer.selected < 0)
            reset_view(viewer);
        else
            stop_selection(viewer);
        break;
    case 'b':
        viewer.light_background = !viewer.light_background;
        break;
    case 'd':
        viewer.double_sided = !viewer.double_sided;
        break;
    case 'l':
        viewer.wireframe = !viewer.wireframe;
        viewer.lighting = !viewer.lighting;
        break;
    case 'w':
        viewer.wireframe = !viewer.wireframe;
        break;
    case 's':
        viewer.specular = !viewer.specular;
        break;
    default:
        if (key >= '1' && key <= '9' && key - '1' < int(viewer.meshes.size())) {
            const int i = key - '1';
            viewer.visible[i] = !viewer.visible[i];
            if (!viewer.visible[i] && viewer.selected == i)
                stop_selection(viewer);
        }
    }
}

void handle_menu(Viewer &viewer, int entry)
{
    bool *toggles[] = {&viewer.double_sided, &viewer.lighting, &viewer.wireframe, &viewer.specular,
                       &viewer.light_background};
    if (entry >= 1 && entry <= 5)
        *toggles[entry - 1] = !*toggles[entry - 1];
}

void write_transforms(const Viewer &viewer)
{
    auto write = [](const std::string &name, const Matrix4 &xf) {
        std::printf("Writing %s\n", name.c_str());
        std::fflush(stdout);
        if (!write_xform_file(name, xf))
            error_printf("Couldn't write %s\n", name.c_str());
    };
    if (viewer.meshes.size() == 1) {
        write(viewer.transform_file_names[0], viewer.global_xform);
        return;
    }
    for (size_t i = 0; i < viewer.meshes.size(); i++)
        write(viewer.transform_file_names[i], viewer.mesh_xforms[i]);
}
