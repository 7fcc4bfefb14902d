// The viewer on a large mesh: the time to load it (read, normals, strips,
// bounds) and the time of a frame, first (arrays uploaded) and the median of
// the next 100 while the scene turns. Needs a display (xvfb-run serves).
//
// Usage: viewer_frame_bench MESH
#include <GL/freeglut.h>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "draw.h"
#include "window.h"
#include "xform_file.h"

namespace {

float finished_frame_ms(Viewer &viewer, std::vector<MeshArrays> &arrays, GLFrame &frame)
{
    const uint64_t start = now_ticks();
    display_frame(viewer, arrays, frame);
    glFinish();
    return elapsed_seconds(start, now_ticks()) * 1000;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s MESH\n", argv[0]);
        return 1;
    }
    const std::string unavailable = viewer_unavailable(false);
    if (!unavailable.empty()) {
        std::fprintf(stderr, "viewer_frame_bench needs a display, but %s.\n", unavailable.c_str());
        return 1;
    }
    glutInitWindowSize(1024, 800);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA);
    glutCreateWindow("viewer_frame_bench");
    glutDisplayFunc([] {});
    glutMainLoopEvent();

    Viewer viewer;
    const uint64_t start = now_ticks();
    if (!add_mesh(viewer, argv[1], transform_file_name(argv[1])))
        return 1;
    const float load = elapsed_seconds(start, now_ticks());
    reset_view(viewer);

    GLFrame frame;
    std::vector<MeshArrays> arrays;
    const float first = finished_frame_ms(viewer, arrays, frame);
    std::vector<float> times;
    for (int i = 0; i < 100; i++) {
        viewer.global_xform = viewer.global_xform * Matrix4::rotation(0.01, 0, 1, 0);
        times.push_back(finished_frame_ms(viewer, arrays, frame));
    }
    std::nth_element(times.begin(), times.begin() + 50, times.end());
    std::printf("%s: %zu triangles, load %.2f s, first frame %.1f ms, median of 100 frames %.1f ms (%s)\n",
                argv[1], viewer.meshes[0].faces.size(), load, first, times[50],
                reinterpret_cast<const char *>(glGetString(GL_RENDERER)));
    return 0;
}
