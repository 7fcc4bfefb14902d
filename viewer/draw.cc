#define GL_GLEXT_PROTOTYPES
#include "draw.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>
#include <cstdlib>

namespace {

// Buffer objects came with OpenGL 1.5; older contexts draw from client memory.
bool gl_has_buffers()
{
    static const bool has = [] {
        const char *version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
        return version && std::atof(version) >= 1.5;
    }();
    return has;
}

template <typename T>
void upload(GLenum target, GLuint buffer, const std::vector<T> &data)
{
    glBindBuffer(target, buffer);
    glBufferData(target, GLsizeiptr(data.size() * sizeof(T)), data.data(), GL_STATIC_DRAW);
}

// Fills `arrays` for a mesh on its first draw: the strip table and, where the
// GL has them, buffer objects holding the mesh's arrays.
void prepare_arrays(const TriMesh &mesh, MeshArrays &arrays)
{
    if (arrays.uploaded)
        return;
    arrays.uploaded = true;
    const bool buffers = gl_has_buffers();
    const char *base = buffers ? nullptr : reinterpret_cast<const char *>(mesh.tristrips.data());
    const std::vector<int> &strips = mesh.tristrips;
    for (size_t i = 0; i < strips.size(); i += size_t(strips[i]) + 1) {
        arrays.counts.push_back(strips[i]);
        arrays.starts.push_back(base + (i + 1) * sizeof(int));
    }
    if (!buffers)
        return;
    glGenBuffers(4, arrays.buffers);
    upload(GL_ARRAY_BUFFER, arrays.buffers[0], mesh.vertices);
    upload(GL_ARRAY_BUFFER, arrays.buffers[1], mesh.normals);
    upload(GL_ARRAY_BUFFER, arrays.buffers[2], mesh.colors);
    upload(GL_ELEMENT_ARRAY_BUFFER, arrays.buffers[3], mesh.tristrips);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// Points a client array at buffer `buffer` or, without buffers, at `data`.
const void *array_source(const MeshArrays &arrays, int buffer, const void *data)
{
    if (!gl_has_buffers())
        return data;
    glBindBuffer(GL_ARRAY_BUFFER, arrays.buffers[buffer]);
    return nullptr;
}

void set_client_arrays(const Viewer &viewer, const TriMesh &mesh, const MeshArrays &arrays)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, array_source(arrays, 0, mesh.vertices.data()));
    if (mesh.normals.size() == mesh.vertices.size() && !viewer.picking) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, array_source(arrays, 1, mesh.normals.data()));
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    if (mesh.colors.size() == mesh.vertices.size() && !viewer.picking) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, array_source(arrays, 2, mesh.colors.data()));
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
    }
    if (gl_has_buffers())
        glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void draw_strips(const MeshArrays &arrays)
{
    if (gl_has_buffers())
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, arrays.buffers[3]);
    glMultiDrawElements(GL_TRIANGLE_STRIP, arrays.counts.data(), GL_UNSIGNED_INT, arrays.starts.data(),
                        GLsizei(arrays.counts.size()));
    if (gl_has_buffers())
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void set_light(GLenum light, GLenum what, float r, float g, float b, float a)
{
    const GLfloat v[4] = {r, g, b, a};
    glLightfv(light, what, v);
}

void blend_and_smooth_lines()
{
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void draw_background(const Viewer &viewer)
{
    glDisable(GL_DITHER);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);
    if (viewer.result_viewer)
        glDisable(GL_BLEND);
    else
        blend_and_smooth_lines();
    const float grey = viewer.light_background ? 0.4f : 0.08f;
    glClearColor(grey, grey, grey, 0);
    glClearDepth(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Plain grey whatever lighting the previous mesh left on.
void draw_ground_grid()
{
    glDisable(GL_LIGHTING);
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_LINES);
    for (int i = -100; i <= 100; i += 20) {
        glVertex3f(float(i), 0, -100);
        glVertex3f(float(i), 0, 100);
        glVertex3f(-100, 0, float(i));
        glVertex3f(100, 0, float(i));
    }
    glEnd();
}

void setup_lighting(const Viewer &viewer, int i)
{
    if (!viewer.result_viewer)
        draw_ground_grid();
    glColor3f(0.934f, 0.789f, 0.652f);
    const TriMesh &mesh = viewer.meshes[i];
    if (!viewer.lighting || mesh.normals.size() != mesh.vertices.size()) {
        glDisable(GL_LIGHTING);
        return;
    }
    const float spec = viewer.specular ? 0.14f : 0.0f;
    const GLfloat specular[4] = {spec, spec, spec, spec};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 13);
    const GLfloat ambient[4] = {0.02f, 0.02f, 0.05f, 0.05f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    set_light(GL_LIGHT0, GL_AMBIENT, 0, 0, 0, 0);
    // Another mesh being selected dims this one.
    const float diffuse = viewer.selected >= 0 && viewer.selected != i ? 0.5f : 1.0f;
    set_light(GL_LIGHT0, GL_DIFFUSE, 0.85f * diffuse, 0.85f * diffuse, 0.8f * diffuse, 0.85f);
    set_light(GL_LIGHT0, GL_SPECULAR, 0.85f, 0.85f, 0.85f, 0.85f);
    set_light(GL_LIGHT1, GL_DIFFUSE, -0.01f, -0.01f, -0.03f, -0.03f);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, viewer.double_sided);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    if (!viewer.result_viewer)
        blend_and_smooth_lines();
}

void draw_wireframe_over(const MeshArrays &arrays)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_COLOR_MATERIAL);
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    set_light(GL_LIGHT0, GL_DIFFUSE, 0.8f, 0.8f, 0.8f, 0);
    set_light(GL_LIGHT1, GL_DIFFUSE, -0.2f, -0.2f, -0.2f, 0);
    set_light(GL_LIGHT0, GL_SPECULAR, 0, 0, 0, 0);
    const GLfloat grey[4] = {0.31f, 0.31f, 0.31f, 0.6f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    glColor3f(0.31f, 0.31f, 0.31f);
    draw_strips(arrays);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void draw_mesh(const Viewer &viewer, int i, MeshArrays &arrays)
{
    const TriMesh &mesh = viewer.meshes[i];
    prepare_arrays(mesh, arrays);
    glPushMatrix();
    gl_mult_matrix(viewer.mesh_xforms[i]);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (viewer.double_sided) {
        glDisable(GL_CULL_FACE);
    } else {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
    set_client_arrays(viewer, mesh, arrays);
    if (!arrays.counts.empty()) {
        // The wireframe lies a little in front of the surface it outlines; the
        // picking image needs the surface alone.
        const bool wireframe = viewer.wireframe && !viewer.picking;
        if (wireframe) {
            glEnable(GL_POLYGON_OFFSET_FILL);
            glPolygonOffset(1, 1);
        }
        draw_strips(arrays);
        glDisable(GL_POLYGON_OFFSET_FILL);
        if (wireframe)
            draw_wireframe_over(arrays);
    } else {
        glPointSize(1);
        glDrawArrays(GL_POINTS, 0, GLsizei(mesh.vertices.size()));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glPopMatrix();
}

} // namespace

void display_frame(Viewer &viewer, std::vector<MeshArrays> &arrays, GLFrame &frame)
{
    const uint64_t start = now_ticks();
    arrays.resize(viewer.meshes.size());
    viewer.camera.prepare_frame(frame, viewer.global_xform * viewer.scene_center, viewer.scene_radius);
    glPushMatrix();
    gl_mult_matrix(viewer.global_xform);
    draw_background(viewer);
    for (size_t i = 0; i < viewer.meshes.size(); i++) {
        if (!viewer.visible[i])
            continue;
        setup_lighting(viewer, int(i));
        draw_mesh(viewer, int(i), arrays[i]);
    }
    glPopMatrix();
    glutSwapBuffers();
    if (viewer.result_viewer)
        std::printf("\r                        \r%.1f msec.", elapsed_seconds(start, now_ticks()) * 1000);
    std::fflush(stdout);
}

int pick_mesh(Viewer &viewer, std::vector<MeshArrays> &arrays, GLFrame &frame, int x, int y)
{
    arrays.resize(viewer.meshes.size());
    viewer.camera.prepare_frame(frame, viewer.global_xform * viewer.scene_center, viewer.scene_radius);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glClearColor(0.5f, 0.5f, 0.5f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    viewer.picking = true;
    glPushMatrix();
    gl_mult_matrix(viewer.global_xform);
    for (size_t i = 0; i < viewer.meshes.size(); i++) {
        if (!viewer.visible[i])
            continue;
        glColor3ub(GLubyte(i >> 16), GLubyte(i >> 8), GLubyte(i));
        draw_mesh(viewer, int(i), arrays[i]);
    }
    glPopMatrix();
    viewer.picking = false;
    const FrameAccess::Viewport vp = frame.viewport();
    GLubyte rgb[4] = {0, 0, 0, 0};  // room for row padding
    glReadPixels(x, vp.y + vp.h - y - 1, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] * 65536 + rgb[1] * 256 + rgb[2];
}
