#include "camera.h"

#include <algorithm>
#include <cmath>

#include "console.h"
#include "lineqn.h"

namespace {

constexpr float trackball_r2 = 0.64f;        // squared trackball radius 0.8
constexpr float spin_window = 0.1f;          // seconds between last step and release
constexpr float min_spin_rate = 0.01f;
constexpr float wheel_step = 0.2f;           // of grab_depth
constexpr float dolly_rate = 5.0f;
constexpr float light_angle_scale = 3.1405926f;
constexpr float min_depth = 0.0001f, max_depth = 0.9999f;

// Offsets in percent of the viewport width and height, in the order tried.
constexpr int probe_offsets[17][2] = {{0, 0},   {1, 1},   {-1, 1},  {-1, -1}, {1, -1}, {3, 0},
                                      {-3, 0},  {0, 3},   {0, -3},  {6, 6},   {-6, 6}, {-6, -6},
                                      {6, -6},  {25, 0},  {-25, 0}, {0, 25},  {0, -25}};

// The raw value that a depth cleared to 1.0 reads back as; measured once per
// process on first need, 0 until then.
float depth_one = 0;

Point3 trackball_point(float a, float b)
{
    const float s = a * a + b * b;
    const float z = s < trackball_r2 / 2 ? std::sqrt(trackball_r2 - s) : trackball_r2 / 2 / std::sqrt(s);
    return {a, b, z};
}

Matrix4 translation(const Point3 &t) { return Matrix4::translation(t.x, t.y, t.z); }

// Measures depth_one at pixel (x, y), whose current raw value is `saved`, and
// puts the pixel's depth back.
void measure_depth_one(FrameAccess &frame, int x, int y, float saved)
{
    frame.clear_depth_pixel(x, y, 1.0f);
    depth_one = frame.read_depth(x, y);
    if (depth_one != 0)
        frame.clear_depth_pixel(x, y, saved / depth_one);
}

} // namespace

Point3 project_point(const Point3 &p, const Matrix4 &modelview, const Matrix4 &projection,
                     const FrameAccess::Viewport &vp)
{
    const Matrix4 m = projection * modelview;
    double clip[4];
    for (int r = 0; r < 4; r++)
        clip[r] = m(r, 0) * p.x + m(r, 1) * p.y + m(r, 2) * p.z + m(r, 3);
    const double w = clip[3] != 0 ? clip[3] : 1.0;
    return {float(vp.x + vp.w * (clip[0] / w + 1) / 2), float(vp.y + vp.h * (clip[1] / w + 1) / 2),
            float((clip[2] / w + 1) / 2)};
}

Point3 unproject_point(double x, double y, double z, const Matrix4 &modelview, const Matrix4 &projection,
                       const FrameAccess::Viewport &vp)
{
    const Matrix4 inv = inverse(projection * modelview);
    const double ndc[4] = {2 * (x - vp.x) / vp.w - 1, 2 * (y - vp.y) / vp.h - 1, 2 * z - 1, 1};
    double out[4];
    for (int r = 0; r < 4; r++)
        out[r] = inv(r, 0) * ndc[0] + inv(r, 1) * ndc[1] + inv(r, 2) * ndc[2] + inv(r, 3) * ndc[3];
    const double w = out[3] != 0 ? out[3] : 1.0;
    return {float(out[0] / w), float(out[1] / w), float(out[2] / w)};
}

Camera::Camera() : prev_time(now_ticks()) {}

bool Camera::probe_depth(FrameAccess &frame, int x, int y, Point3 &point) const
{
    const FrameAccess::Viewport vp = frame.viewport();
    const Matrix4 modelview = frame.modelview(), projection = frame.projection();
    for (const auto &offset : probe_offsets) {
        const int px = std::clamp(x + int(0.01 * offset[0] * vp.w), vp.x, vp.x + vp.w - 1);
        const int py = std::clamp(y + int(0.01 * offset[1] * vp.h), vp.y, vp.y + vp.h - 1);
        const float value = frame.read_depth(px, py);
        if (depth_one == 0)
            measure_depth_one(frame, px, py, value);
        if (depth_one == 0)
            return false;
        const float d = value / depth_one;
        if (d > min_depth && d < max_depth) {
            point = unproject_point(px, py, d, modelview, projection, vp);
            return true;
        }
    }
    return false;
}

void Camera::handle_pointer(FrameAccess &frame, int x, int y, DragMode mode, const Point3 &target_center,
                            float target_radius, Matrix4 &xform)
{
    if (mode == DragMode::none && prev_mode == DragMode::none)
        return;
    const FrameAccess::Viewport vp = frame.viewport();
    const int wy = vp.y + vp.h - y - 1;
    coasting = false;
    if (mode != prev_mode && mode != DragMode::none)
        begin_drag(frame, x, wy, target_center, target_radius);

    switch (mode) {
    case DragMode::none:
        if (prev_mode == DragMode::rotate && elapsed_seconds(prev_time, now_ticks()) < spin_window &&
            std::fabs(turn_rate) > min_spin_rate)
            coasting = true;
        break;
    case DragMode::rotate:
        if (prev_mode == DragMode::none)
            turn_rate = 0;
        else if (prev_mode == DragMode::rotate)
            rotate(x, wy, xform);
        break;
    case DragMode::pan:
        if (prev_mode == DragMode::pan)
            xform = translation(Point3(pixel_size * grab_depth * float(x - prev_x),
                                       pixel_size * grab_depth * float(wy - prev_y), 0)) *
                    xform;
        break;
    case DragMode::dolly:
        if (prev_mode == DragMode::dolly) {
            const float f = std::exp(-float((x - prev_x) - (wy - prev_y)) * dolly_rate * pixel_size / view_extent);
            const float c = (f - 1) * grab_depth;
            // A pivot at the eye has no direction; dolly along the view axis then.
            const float l = len(pivot);
            const Point3 direction = l > 0 ? pivot / l : Point3(0, 0, -1);
            xform = translation(c * direction) * xform;
            center_depth = std::max(center_depth + c, 0.0f);
            grab_depth = std::max(grab_depth + c, 0.0f);
        }
        break;
    case DragMode::wheel_up:
    case DragMode::wheel_down: {
        const float c = mode == DragMode::wheel_up ? -wheel_step * grab_depth : wheel_step * grab_depth;
        xform = translation(Point3(0, 0, c)) * xform;
        center_depth = std::max(center_depth - c, 0.0f);
        grab_depth = std::max(grab_depth - c, 0.0f);
        break;
    }
    case DragMode::light: {
        const float a = 2.0f * float(x - vp.x) / float(vp.w) - 1;
        const float b = 2.0f * float(wy - vp.y) / float(vp.h) - 1;
        const float theta = std::min(std::sqrt(a * a + b * b), 1.0f) * light_angle_scale;
        const float phi = std::atan2(b, a);
        key_light = Point3(std::cos(phi) * std::sin(theta), std::sin(phi) * std::sin(theta), std::cos(theta));
        break;
    }
    }
    prev_x = x;
    prev_y = wy;
    prev_mode = mode;
    prev_time = now_ticks();
}

void Camera::turn(float angle, Matrix4 &xform) const
{
    xform = translation(pivot) * Matrix4::rotation(angle, turn_axis.x, turn_axis.y, turn_axis.z) *
            translation(-pivot) * xform;
}

void Camera::rotate(int x, int y, Matrix4 &xform)
{
    const float p1x = (float(prev_x) - ball_x) / ball_radius, p1y = (float(prev_y) - ball_y) / ball_radius;
    const float p2x = (float(x) - ball_x) / ball_radius, p2y = (float(y) - ball_y) / ball_radius;
    turn_axis = cross(trackball_point(p1x, p1y), trackball_point(p2x, p2y));
    const float angle = std::hypot(p2x - p1x, p2y - p1y);
    turn(angle, xform);
    const float dt = elapsed_seconds(prev_time, now_ticks());
    turn_rate = dt > spin_window ? angle / spin_window : (1 - dt / spin_window) * turn_rate + angle / spin_window;
}

void Camera::begin_drag(FrameAccess &frame, int x, int y, const Point3 &target_center, float target_radius)
{
    const FrameAccess::Viewport vp = frame.viewport();
    const Matrix4 modelview = frame.modelview(), projection = frame.projection();
    pixel_size = float(2 / std::max(vp.w * projection(0, 0), vp.h * projection(1, 1)));

    Point3 p;
    grab_depth = probe_depth(frame, x, y, p) ? -p.z : center_depth;

    // The screen region of the target: its projected disc when the eye is
    // outside it, otherwise the whole viewport.
    float left = float(vp.x), right = float(vp.x + vp.w), bottom = float(vp.y), top = float(vp.y + vp.h);
    float radius = float(std::max(vp.w, vp.h));
    if (target_center.z < 0 && target_radius < len(target_center)) {
        const Point3 s = project_point(target_center, modelview, projection, vp);
        radius = -target_radius / target_center.z / pixel_size;
        left = std::clamp(s.x - radius, left, right);
        right = std::clamp(s.x + radius, left, right);
        bottom = std::clamp(s.y - radius, bottom, top);
        top = std::clamp(s.y + radius, bottom, top);
    }
    const int cx = int((left + right) / 2), cy = int((bottom + top) / 2);

    // The spin centre: a little behind the surface seen at the region centre.
    Point3 q = unproject_point(cx, cy, 1, modelview, projection, vp);
    normalize(q);
    const float behind = 1 + 0.2f * view_extent;
    if (probe_depth(frame, cx, cy, p))
        q *= behind * p.z / q.z;
    else
        q *= -behind * grab_depth / q.z;
    const float t = std::clamp(2 * radius / float(std::max(vp.w, vp.h)) - 1, 0.0f, 1.0f);
    pivot = (1 - t) * target_center + t * q;

    const Point3 ball = project_point(pivot, modelview, projection, vp);
    ball_x = ball.x;
    ball_y = ball.y;
    const float side = float(std::min(vp.w, vp.h));
    ball_radius = std::max(std::min(radius, 0.7f * side), 0.3f * side);
}

bool Camera::advance_spin(Matrix4 &xform)
{
    if (!coasting)
        return false;
    const uint64_t now = now_ticks();
    turn(turn_rate * elapsed_seconds(prev_time, now), xform);
    prev_time = now;
    return true;
}

void Camera::prepare_frame(FrameAccess &frame, const Point3 &target_center, float target_radius)
{
    const FrameAccess::Viewport vp = frame.viewport();
    Point3 p;
    if (probe_depth(frame, vp.w / 2, vp.h / 2, p))
        center_depth = -p.z;
    const float far = std::max(target_radius / 10, target_radius - target_center.z);
    float near = std::max(target_radius / 10000, -target_center.z - target_radius);
    center_depth = std::max(std::max(std::min(center_depth, far), near), far / 10000);
    near = std::max(near, center_depth / 10);

    const float diag = std::sqrt(float(vp.w) * vp.w + float(vp.h) * vp.h);
    const float right = near * view_extent * 0.5f * vp.w / diag;
    const float top = near * view_extent * 0.5f * vp.h / diag;
    frame.load_frustum(-right, right, -top, top, near, far);

    const float lx = key_light.x, ly = key_light.y, lz = key_light.z;
    const Point3 lights[6] = {{lx, ly, lz}, {-lx, -ly, -lz}, {lz, 0, -lx},
                              {-lz, 0, lx}, {0, lz, -ly},    {0, -lz, ly}};
    frame.set_light_directions(lights);
}
