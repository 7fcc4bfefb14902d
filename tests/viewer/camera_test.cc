#include <gtest/gtest.h>

#include <chrono>

#include "camera.h"
#include "console.h"
#include "fake_frame.h"

namespace {

// Moves the camera's last event `seconds` into the past.
void age(Camera &camera, double seconds)
{
    camera.prev_time -= uint64_t(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                     std::chrono::duration<double>(seconds))
                                     .count());
}

const Point3 target(0, 0, -10);
constexpr float radius = 1;

void drag(Camera &camera, FakeFrame &frame, DragMode mode, Matrix4 &xf, std::initializer_list<std::pair<int, int>> path)
{
    for (auto [x, y] : path)
        camera.handle_pointer(frame, x, y, mode, target, radius, xf);
}

void expect_near(const Matrix4 &a, const Matrix4 &b, double tolerance = 1e-5)
{
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

} // namespace

TEST(Camera, projection_and_unprojection_invert_each_other)
{
    FakeFrame frame;
    const Point3 p(0.3f, -0.2f, -4);
    const Point3 w = project_point(p, Matrix4(), frame.proj, frame.vp);
    const Point3 back = unproject_point(w.x, w.y, w.z, Matrix4(), frame.proj, frame.vp);
    EXPECT_NEAR(back.x, p.x, 1e-4);
    EXPECT_NEAR(back.y, p.y, 1e-4);
    EXPECT_NEAR(back.z, p.z, 1e-3);
}

TEST(Camera, depth_probe_tries_the_pattern_in_order_and_clamps_to_the_viewport)
{
    FakeFrame frame;
    Camera camera;
    Point3 p;
    EXPECT_FALSE(camera.probe_depth(frame, 100, 50, p));
    // Consecutive reads of one pixel (the one-time calibration) count once.
    std::vector<std::pair<int, int>> visited;
    for (auto r : frame.reads)
        if (visited.empty() || visited.back() != r)
            visited.push_back(r);
    const std::vector<std::pair<int, int>> expected{
        {100, 50}, {102, 51}, {98, 51},  {98, 49},  {102, 49}, {106, 50}, {94, 50},  {100, 53}, {100, 47},
        {112, 56}, {88, 56},  {88, 44},  {112, 44}, {150, 50}, {50, 50},  {100, 75}, {100, 25}};
    EXPECT_EQ(visited, expected);

    frame.reads.clear();
    EXPECT_FALSE(camera.probe_depth(frame, 0, 99, p));
    for (auto [x, y] : frame.reads) {
        EXPECT_TRUE(x >= 0 && x < 200 && y >= 0 && y < 100) << x << ", " << y;
    }
}

TEST(Camera, depth_probe_finds_the_first_surface_of_the_pattern)
{
    FakeFrame frame;
    Camera camera;
    frame.put_surface(-3, 112, 56, 112, 56);  // the tenth probe position only
    frame.put_surface(-7, 150, 50, 150, 50);  // a later one
    Point3 p;
    ASSERT_TRUE(camera.probe_depth(frame, 100, 50, p));
    EXPECT_NEAR(p.z, -3, 1e-3);
    const Point3 w = project_point(p, Matrix4(), frame.proj, frame.vp);
    EXPECT_NEAR(w.x, 112, 1e-2);
    EXPECT_NEAR(w.y, 56, 1e-2);
}

TEST(Camera, depth_probe_fails_when_cleared_depth_reads_back_as_zero)
{
    FakeFrame frame;
    frame.put_surface(-3, 0, 0, 199, 99);
    frame.scale = 0;
    Camera camera;
    Point3 p;
    EXPECT_FALSE(camera.probe_depth(frame, 100, 50, p));
}

TEST(Camera, an_event_without_buttons_after_none_changes_nothing)
{
    FakeFrame frame;
    Camera camera;
    const uint64_t stamp = camera.prev_time;
    Matrix4 xf = Matrix4::translation(1, 2, 3);
    const Matrix4 before = xf;
    drag(camera, frame, DragMode::none, xf, {{10, 10}, {50, 60}});
    EXPECT_EQ(camera.prev_time, stamp);
    EXPECT_EQ(xf, before);
    EXPECT_TRUE(frame.reads.empty());
}

TEST(Camera, spins_only_after_a_quick_release_of_a_moving_rotation)
{
    struct Case {
        const char *what;
        std::initializer_list<std::pair<int, int>> path;
        double pause;  // seconds between the last step and the release
        bool spins;
    };
    const Case cases[] = {{"press and release in place", {{100, 50}, {100, 50}}, 0, false},
                          {"quick release", {{100, 50}, {110, 50}, {120, 50}}, 0, true},
                          {"slow release", {{100, 50}, {110, 50}, {120, 50}}, 0.2, false}};
    for (const Case &c : cases) {
        FakeFrame frame;
        Camera camera;
        Matrix4 xf;
        drag(camera, frame, DragMode::rotate, xf, c.path);
        if (c.path.size() == 2) {
            EXPECT_EQ(camera.turn_rate, 0) << c.what;
        }
        age(camera, c.pause);
        camera.handle_pointer(frame, 120, 50, DragMode::none, target, radius, xf);
        EXPECT_EQ(camera.coasting, c.spins) << c.what;
        const Matrix4 before = xf;
        EXPECT_EQ(camera.advance_spin(xf), c.spins) << c.what;
        EXPECT_EQ(xf != before, c.spins) << c.what;
        // The next pointer event stops a spin.
        camera.handle_pointer(frame, 120, 50, DragMode::rotate, target, radius, xf);
        EXPECT_FALSE(camera.coasting) << c.what;
    }
}

TEST(Camera, rotation_turns_about_the_pivot_by_the_pointer_distance)
{
    FakeFrame frame;
    Camera camera;
    Matrix4 xf;
    drag(camera, frame, DragMode::rotate, xf, {{100, 49}, {110, 49}});
    // A horizontal drag turns about the vertical axis through the pivot.
    EXPECT_NEAR(camera.turn_axis.x, 0, 1e-6);
    EXPECT_GT(camera.turn_axis.y, 0);
    const float angle = 10 / camera.ball_radius;
    const Point3 &c = camera.pivot;
    const Matrix4 expected = Matrix4::translation(c.x, c.y, c.z) * Matrix4::rotation(angle, 0, 1, 0) *
                             Matrix4::translation(-c.x, -c.y, -c.z);
    expect_near(xf, expected);
}

TEST(Camera, pan_moves_by_the_pixel_size_at_the_grab_depth)
{
    FakeFrame frame;
    frame.put_surface(-4, 0, 0, 199, 99);
    Camera camera;
    Matrix4 xf;
    drag(camera, frame, DragMode::pan, xf, {{100, 50}, {110, 45}});
    EXPECT_NEAR(camera.grab_depth, 4, 1e-3);
    const double step = camera.pixel_size * camera.grab_depth;
    expect_near(xf, Matrix4::translation(10 * step, 5 * step, 0));
}

TEST(Camera, a_mode_change_starts_a_new_drag_that_moves_from_the_next_event)
{
    FakeFrame frame;
    Camera camera;
    Matrix4 xf;
    drag(camera, frame, DragMode::pan, xf, {{100, 50}, {100, 50}});
    frame.put_surface(-6, 0, 0, 199, 99);
    drag(camera, frame, DragMode::rotate, xf, {{130, 50}});
    EXPECT_EQ(xf, Matrix4());
    EXPECT_NEAR(camera.grab_depth, 6, 1e-3);
    drag(camera, frame, DragMode::rotate, xf, {{140, 50}});
    EXPECT_NE(xf, Matrix4());
}

TEST(Camera, wheel_and_dolly_never_leave_a_negative_depth)
{
    FakeFrame frame;
    frame.put_surface(-2, 0, 0, 199, 99);
    Camera camera;
    Matrix4 xf;
    drag(camera, frame, DragMode::wheel_down, xf, {{100, 50}});
    // A wheel step moves along the view axis by a fifth of the grab depth.
    expect_near(xf, Matrix4::translation(0, 0, 0.4), 1e-4);
    EXPECT_NEAR(camera.grab_depth, 1.6, 1e-4);
    for (int i = 0; i < 40; i++)
        drag(camera, frame, DragMode::wheel_down, xf, {{100, 50}});
    EXPECT_GE(camera.grab_depth, 0);
    EXPECT_GE(camera.center_depth, 0);

    drag(camera, frame, DragMode::none, xf, {{100, 50}});
    drag(camera, frame, DragMode::dolly, xf, {{100, 10}, {100, 60}, {100, 99}});
    EXPECT_GE(camera.grab_depth, 0);
    EXPECT_GE(camera.center_depth, 0);
}

TEST(Camera, light_follows_the_pointer_across_the_window)
{
    FakeFrame frame;
    Camera camera;
    Matrix4 xf;
    drag(camera, frame, DragMode::light, xf, {{100, 49}});
    EXPECT_NEAR(camera.key_light.z, 1, 1e-3);
    drag(camera, frame, DragMode::light, xf, {{199, 49}});
    EXPECT_NEAR(camera.key_light.x, std::sin(0.99f * 3.1405926f), 1e-3);
    EXPECT_NEAR(camera.key_light.z, std::cos(0.99f * 3.1405926f), 1e-3);
}

TEST(Camera, frame_setup_sets_planes_around_the_target_and_six_lights)
{
    FakeFrame frame;
    frame.put_surface(-9, 0, 0, 199, 99);
    Camera camera;
    camera.key_light = Point3(1, 2, 3);
    camera.prepare_frame(frame, target, 2);
    EXPECT_NEAR(camera.center_depth, 9, 1e-3);
    // far = max(r / 10, r - z) = 12; near = max(r / 10000, -z - r, depth / 10) = 8.
    ASSERT_EQ(frame.frustum.size(), 6u);
    const double near = 8, far = 12;
    const double diag = std::sqrt(200.0 * 200 + 100 * 100);
    EXPECT_NEAR(frame.frustum[1], near * 0.7 * 0.5 * 200 / diag, 1e-5);
    EXPECT_NEAR(frame.frustum[3], near * 0.7 * 0.5 * 100 / diag, 1e-5);
    EXPECT_NEAR(frame.frustum[0], -frame.frustum[1], 1e-9);
    EXPECT_NEAR(frame.frustum[4], near, 1e-5);
    EXPECT_NEAR(frame.frustum[5], far, 1e-5);
    const std::vector<Point3> lights{{1, 2, 3}, {-1, -2, -3}, {3, 0, -1}, {-3, 0, 1}, {0, 3, -2}, {0, -3, 2}};
    EXPECT_EQ(frame.lights, lights);
}
