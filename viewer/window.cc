#include "window.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <X11/Xlib.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "console.h"
#include "draw.h"
#include "scene.h"
#include "xform_file.h"

namespace {

// Everything GLUT's callbacks reach: one per process, as GLUT has one loop.
struct WindowState {
    Viewer viewer;
    std::vector<MeshArrays> arrays;
    GLFrame frame;
};

WindowState &state()
{
    static WindowState s;
    return s;
}

void on_display() { display_frame(state().viewer, state().arrays, state().frame); }

void on_motion(int x, int y)
{
    if (pointer_moved(state().viewer, state().frame, x, y))
        glutPostRedisplay();
}

void on_mouse(int button, int button_state, int x, int y)
{
    WindowState &s = state();
    const bool ctrl = glutGetModifiers() & GLUT_ACTIVE_CTRL;
    if (register_button(s.viewer, button, button_state == GLUT_DOWN, ctrl, now_ticks())) {
        apply_pick(s.viewer, button, pick_mesh(s.viewer, s.arrays, s.frame, x, y));
        // The picking image is never shown: the next frame replaces it.
        glutPostRedisplay();
    }
    on_motion(x, y);
}

void on_keyboard(unsigned char key, int, int)
{
    handle_key(state().viewer, key);
    glutPostRedisplay();
}

void on_idle()
{
    if (advance_idle(state().viewer))
        glutPostRedisplay();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void on_menu(int entry)
{
    handle_menu(state().viewer, entry);
    glutPostRedisplay();
}

void register_callbacks()
{
    glutDisplayFunc(on_display);
    glutMouseFunc(on_mouse);
    glutMotionFunc(on_motion);
    glutKeyboardFunc(on_keyboard);
    glutIdleFunc(on_idle);
}

// Largest window side taken from "-geometry": a larger window would need
// gigabytes for its colour and depth buffers.
constexpr unsigned max_window_side = 16384;
// Window positions are 16-bit numbers in X.
constexpr int max_window_offset = 32767;

// False, after saying why, when the command line has a "-geometry" option
// whose value freeglut could not use safely: no value, no size or place in it,
// a side of 0 or beyond max_window_side, or a place beyond X's range.
bool usable_geometry(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "-geometry") != 0)
            continue;
        const char *value = i + 1 < argc ? argv[i + 1] : "";
        int x = 0, y = 0;
        unsigned w = 1, h = 1;
        const int given = XParseGeometry(value, &x, &y, &w, &h);
        const auto side_ok = [](unsigned side) { return side >= 1 && side <= max_window_side; };
        const auto place_ok = [](int at) { return at >= -max_window_offset && at <= max_window_offset; };
        if (given == 0 || !side_ok(w) || !side_ok(h) || !place_ok(x) || !place_ok(y)) {
            error_printf("The window geometry [%s] is not WIDTHxHEIGHT[+X+Y] with sides from 1 to %u; "
                         "no window is opened.\n", value, max_window_side);
            return false;
        }
    }
    return true;
}

// Starts freeglut, which takes its own options (such as "-geometry") out of
// the command line. False when those options cannot be used.
bool start_glut(int &argc, char **argv, unsigned mode)
{
    if (!usable_geometry(argc, argv))
        return false;
    glutInitWindowSize(1024, 800);
    glutInit(&argc, argv);
    glutInitDisplayMode(mode);
    return true;
}

} // namespace

std::string viewer_unavailable(bool honour_switch)
{
    const char *no_viewer = std::getenv("POLMERA_NO_VIEWER");
    if (honour_switch && no_viewer && *no_viewer)
        return "POLMERA_NO_VIEWER is set";
    const char *display = std::getenv("DISPLAY");
    if (!display || !*display)
        return "there is no display";
    Display *connection = XOpenDisplay(display);
    if (!connection)
        return std::string("the display ") + display + " cannot be opened";
    XCloseDisplay(connection);
    return "";
}

int run_viewer_program(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::printf("How to use the Polmera Viewer: %s infile...\n", argv[0]);
        return 0;
    }
    const std::string unavailable = viewer_unavailable(false);
    if (!unavailable.empty()) {
        error_printf("PolmeraViewer needs a display to show meshes, but %s.\n", unavailable.c_str());
        return 1;
    }
    if (!start_glut(argc, argv, GLUT_DOUBLE | GLUT_DEPTH | GLUT_STEREO))
        return 1;
    // Most displays offer no stereo visual; without one the window would never open.
    if (!glutGet(GLUT_DISPLAY_MODE_POSSIBLE))
        glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA);

    Viewer &viewer = state().viewer;
    if (argc < 2)
        std::fprintf(stderr, "How to use the Polmera Viewer: %s infile...\n", argv[0]);
    for (int i = 1; i < argc; i++)
        if (!add_mesh(viewer, argv[i], transform_file_name(argv[i])))
            std::fprintf(stderr, "How to use the Polmera Viewer: %s infile...\n", argv[0]);

    glutCreateWindow("Polmera by Arkwell");
    register_callbacks();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(70, 1, 0.01, 1000);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    reset_view(viewer);

    glutCreateMenu(on_menu);
    glutAddMenuEntry("Double Sided (d)", 1);
    glutAddMenuEntry("Flat (f)", 2);
    glutAddMenuEntry("WireFrame (w)", 3);
    glutAddMenuEntry("Specular Toggle (s)", 4);
    glutAddMenuEntry("BG Color (b)", 5);
    glutAttachMenu(GLUT_MIDDLE_BUTTON);

    std::printf("%s \n", "Polmera");
    std::fflush(stdout);
    glutMainLoop();
    return 0;
}

namespace {

int show_result_viewer(int argc, char **argv, const char *mesh_file, const std::string &xf_name)
{
    const std::string unavailable = viewer_unavailable(true);
    if (!unavailable.empty()) {
        error_printf("The result viewer is skipped: %s.\n", unavailable.c_str());
        return 0;
    }
    if (!start_glut(argc, argv, GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA))
        return 1;
    Viewer &viewer = state().viewer;
    viewer.result_viewer = true;
    if (!add_mesh(viewer, mesh_file, xf_name))
        return 1;

    glutCreateWindow("Polmera Viewer by Arkwell");
    register_callbacks();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    reset_view(viewer);
    glutMainLoop();
    return 0;
}

} // namespace

int finish_in_result_viewer(int status, int argc, char **argv, const char *written, const char *placement_of)
{
    if (status != 0 || !written)
        return status;
    return show_result_viewer(argc, argv, written, transform_file_name(placement_of));
}
