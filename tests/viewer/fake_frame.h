#pragma once
// A drawing surface for the camera without a window: a depth buffer in memory,
// the matrices of the last frame, and a record of what the camera asked for.

#include <utility>
#include <vector>

#include "camera.h"

class FakeFrame : public FrameAccess {
public:
    // A 200 x 100 viewport, identity model-view and a frustum with near 0.1 and
    // far 100; every pixel cleared to depth 1.
    FakeFrame() : depths(size_t(vp.w * vp.h), 1.0f) { load_frustum(-0.1, 0.1, -0.05, 0.05, 0.1, 100); }

    Viewport viewport() const override { return vp; }
    Matrix4 modelview() const override { return Matrix4(); }
    Matrix4 projection() const override { return proj; }
    float read_depth(int x, int y) override
    {
        reads.emplace_back(x, y);
        return depths[size_t(y * vp.w + x)] * scale;
    }
    void clear_depth_pixel(int x, int y, float value) override { depths[size_t(y * vp.w + x)] = value; }
    void load_frustum(double l, double r, double b, double t, double n, double f) override
    {
        frustum = {l, r, b, t, n, f};
        proj = Matrix4({2 * n / (r - l), 0, 0, 0, 0, 2 * n / (t - b), 0, 0, (r + l) / (r - l),
                        (t + b) / (t - b), -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0});
    }
    void set_light_directions(const Point3 (&d)[6]) override { lights.assign(d, d + 6); }

    // Puts a surface at eye depth `z` (negative) over the pixels x0..x1, y0..y1.
    void put_surface(float z, int x0, int y0, int x1, int y1)
    {
        const float d = project_point(Point3(0, 0, z), Matrix4(), proj, vp).z;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++)
                depths[size_t(y * vp.w + x)] = d;
    }

    Viewport vp{0, 0, 200, 100};
    Matrix4 proj;
    std::vector<float> depths;
    float scale = 1;  // what a stored depth of 1 reads back as
    std::vector<std::pair<int, int>> reads;
    std::vector<double> frustum;
    std::vector<Point3> lights;
};
