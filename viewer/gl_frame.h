#pragma once
// The camera's view of the current OpenGL context.

#include "camera.h"

class GLFrame : public FrameAccess {
public:
    Viewport viewport() const override;
    Matrix4 modelview() const override;
    Matrix4 projection() const override;
    float read_depth(int x, int y) override;
    void clear_depth_pixel(int x, int y, float value) override;
    void load_frustum(double left, double right, double bottom, double top, double near, double far) override;
    void set_light_directions(const Point3 (&directions)[6]) override;
};

// Multiplies the current GL matrix by xf.
void gl_mult_matrix(const Matrix4 &xf);
