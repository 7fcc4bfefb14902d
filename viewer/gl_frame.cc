#include "gl_frame.h"

#include <GL/gl.h>

namespace {

Matrix4 read_matrix(GLenum which)
{
    std::array<double, 16> m;
    glGetDoublev(which, m.data());
    return Matrix4(m);
}

} // namespace

FrameAccess::Viewport GLFrame::viewport() const
{
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return {v[0], v[1], v[2] > 0 ? v[2] : 1, v[3] > 0 ? v[3] : 1};
}

Matrix4 GLFrame::modelview() const { return read_matrix(GL_MODELVIEW_MATRIX); }

Matrix4 GLFrame::projection() const { return read_matrix(GL_PROJECTION_MATRIX); }

float GLFrame::read_depth(int x, int y)
{
    float d = 0;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
    return d;
}

void GLFrame::clear_depth_pixel(int x, int y, float value)
{
    glScissor(x, y, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    glClearDepth(value);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearDepth(1);
}

void GLFrame::load_frustum(double left, double right, double bottom, double top, double near, double far)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(left, right, bottom, top, near, far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLFrame::set_light_directions(const Point3 (&directions)[6])
{
    for (int i = 0; i < 6; i++) {
        const GLfloat position[4] = {directions[i].x, directions[i].y, directions[i].z, 0};
        glLightfv(GL_LIGHT0 + i, GL_POSITION, position);
    }
}

void gl_mult_matrix(const Matrix4 &xf)
{
    double m[16];
    for (int i = 0; i < 16; i++)
        m[i] = xf[i];
    glMultMatrixd(m);
}
