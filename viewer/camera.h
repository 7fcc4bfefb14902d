#pragma once
// The viewer's camera: a mouse-driven virtual trackball that rotates, pans,
// dollies and zooms a placement, keeps spinning after a quick release, moves
// the main light, and sets up the projection and the lights of each frame.
//
// The camera owns no placement: every pointer event edits the Matrix4 that the
// caller passes in. Its decisions rest on the depth of the visible surface,
// which it reads through a FrameAccess: the window fills that from OpenGL, the
// tests fake it, so that all of the camera's arithmetic runs without a window.

#include <cstdint>

#include "Matrix4.h"
#include "Point3.h"

// What a pointer event asks of the camera.
enum class DragMode { none = 0, rotate = 1, pan = 2, dolly = 3, wheel_up = 4, wheel_down = 5, light = 6 };

// The drawing surface as the camera sees it: the viewport and matrices of the
// last frame, raw depth values, and where a frame's projection and lights go.
class FrameAccess {
public:
    struct Viewport {
        int x = 0, y = 0, w = 1, h = 1;
    };
    virtual ~FrameAccess() = default;
    virtual Viewport viewport() const = 0;
    virtual Matrix4 modelview() const = 0;
    virtual Matrix4 projection() const = 0;
    // The raw depth value stored at pixel (x, y), y counted from the bottom.
    virtual float read_depth(int x, int y) = 0;
    // Sets the depth of the one pixel (x, y) to `value` (a scissored clear),
    // leaving the clear depth at 1 afterwards.
    virtual void clear_depth_pixel(int x, int y, float value) = 0;
    // Loads the projection glFrustum(left, right, bottom, top, near, far) and an
    // identity model-view.
    virtual void load_frustum(double left, double right, double bottom, double top, double near,
                              double far) = 0;
    // Sets the directions of lights 0 to 5 (directional lights).
    virtual void set_light_directions(const Point3 (&directions)[6]) = 0;
};

// Window coordinates of an eye-space point through the model-view and
// projection matrices and the viewport; z is the window depth 0..1.
Point3 project_point(const Point3 &p, const Matrix4 &modelview, const Matrix4 &projection,
                     const FrameAccess::Viewport &vp);
// The eye-space point at window position (x, y) and window depth z.
Point3 unproject_point(double x, double y, double z, const Matrix4 &modelview,
                       const Matrix4 &projection, const FrameAccess::Viewport &vp);

class Camera {
public:
    Camera();

    // One pointer event (press, release, drag or wheel) at window position
    // (x, y), y counted from the top. `target_center` and `target_radius` bound
    // what is moved, in eye coordinates; `xform` is that thing's placement and
    // is changed in place. An event without a mode after one without a mode
    // changes nothing at all.
    void handle_pointer(FrameAccess &frame, int x, int y, DragMode mode, const Point3 &target_center,
                        float target_radius, Matrix4 &xform);

    // Advances a running spin; true when `xform` changed (the caller redraws).
    bool advance_spin(Matrix4 &xform);

    // Sets the projection (near and far planes around the target and the
    // visible surface), an identity model-view and the six light directions.
    // Call before drawing a frame.
    void prepare_frame(FrameAccess &frame, const Point3 &target_center, float target_radius);

    // The eye-space point of the visible surface nearest window position
    // (x, y) (y from the bottom), probing a fixed pattern of positions around
    // it. False when no probe finds a surface.
    bool probe_depth(FrameAccess &frame, int x, int y, Point3 &point) const;

    // Stops a running spin.
    void stop_spin() { coasting = false; }

    // State of the last event and of the current drag, in eye coordinates.
    int prev_x = 0, prev_y = 0;  // window coordinates, y from the bottom
    DragMode prev_mode = DragMode::none;
    uint64_t prev_time;  // stamp of the last event or spin step (now_ticks)
    Point3 pivot;        // what rotations turn about
    Point3 turn_axis;    // axis of the last rotation step, not normalised
    float turn_rate = 0; // radians per second of the continuing spin
    bool coasting = false;
    float view_extent = 0.7f;  // tangent-based extent across the window diagonal
    float pixel_size = 0;      // eye-space size of a pixel at unit depth
    float center_depth = 0;    // depth of the surface at the window centre
    float grab_depth = 0;      // depth under the pointer when the drag began
    float ball_x = 0, ball_y = 0, ball_radius = 0;  // trackball on the screen, pixels
    Point3 key_light{0, 0, 1};

private:
    void begin_drag(FrameAccess &frame, int x, int y, const Point3 &target_center, float target_radius);
    void rotate(int x, int y, Matrix4 &xform);
    void turn(float angle, Matrix4 &xform) const;
};
