#pragma once
// The viewer's state and everything it does that needs no window: the mesh list
// with placements, ".xf" names and visibility; scene bounds and view reset;
// how buttons, keys, the menu and picks change the state; writing transforms.
// The window (window.cc) forwards GLUT's events here and draws (draw.cc).

#include <cstdint>
#include <string>
#include <vector>

#include "Matrix4.h"
#include "TriMesh.h"
#include "camera.h"

struct Viewer {
    std::vector<TriMesh> meshes;
    std::vector<Matrix4> mesh_xforms;
    std::vector<std::string> transform_file_names;
    std::vector<bool> visible;

    Matrix4 global_xform;  // placement of the whole scene in eye space
    Point3 scene_center;
    float scene_radius = 0;
    int selected = -1;

    int button_flags = 0;  // bit b while GLUT button b is down, ctrl_bit while Ctrl was held
    int last_press_flags = 0;
    uint64_t last_press_time = 0;
    Camera camera;

    bool double_sided = false;
    bool lighting = true;
    bool wireframe = false;
    bool specular = true;
    bool light_background = true;
    bool picking = false;

    // The tools' result viewer: no menu and no ground grid, plain blending
    // state, frame times printed.
    bool result_viewer = false;
};

constexpr int ctrl_bit = 1 << 30;
// GLUT's button numbers.
constexpr int left_button = 0, middle_button = 1, right_button = 2, wheel_up_button = 3, wheel_down_button = 4;

// Reads a mesh file and appends it, prepared for drawing (normals, strips,
// bounding sphere), with its ".xf" name, an identity placement and visible.
// Returns false, after the reader's message, when the file cannot be read.
bool add_mesh(Viewer &viewer, const char *file_name, const std::string &xf_name);

// Centre and radius of the visible meshes as placed; unchanged with none visible.
void update_bounds(Viewer &viewer);

// Stops spinning, reloads every placement from its ".xf" file (identity when
// it cannot be read) and places the scene in front of the eye. With a single
// mesh whose ".xf" file reads, that placement becomes the scene's.
void reset_view(Viewer &viewer);

// The camera's drag mode for the buttons and modifier held.
DragMode drag_mode(int button_flags);

// Records a button press or release; true when the press completes a double
// click, for which the caller picks.
bool register_button(Viewer &viewer, int button, bool down, bool ctrl, uint64_t now);

// The placement a pointer event or spin moves and its bounds, in eye space:
// the scene's, or the selected mesh's.
struct Target {
    Matrix4 xform;
    Point3 center;
    float radius;
};
Target current_target(const Viewer &viewer);
// Stores a moved target back (into the scene or the selected mesh).
void store_target(Viewer &viewer, const Matrix4 &xform);

// A pointer event at (x, y) with the buttons held now; true when the view
// changed and needs a redraw.
bool pointer_moved(Viewer &viewer, FrameAccess &frame, int x, int y);

// Advances a spin; true when the view changed.
bool advance_idle(Viewer &viewer);

// What a double click with `button` does once the mesh under the pointer is
// known (`index`, or any invalid number for the background): select it, or
// align the selected mesh to it. True when the scene changed.
bool apply_pick(Viewer &viewer, int button, int index);

// The effect of a key; the caller redraws after every key.
void handle_key(Viewer &viewer, unsigned char key);

// The effect of a pop-up menu entry (1 to 5).
void handle_menu(Viewer &viewer, int entry);

// Writes the placement of the single mesh (the scene's) or of every mesh into
// its ".xf" file, printing "Writing %s\n" for each; a file that cannot be
// written gets "Couldn't write %s\n" on the error stream.
void write_transforms(const Viewer &viewer);
