#pragma once
// Drawing the viewer's scene with OpenGL 1.x: the frame with its background,
// per-mesh lighting and the meshes from their triangle strips, and the picking
// image that tells which mesh lies under a pixel. Needs a current GL context.

#include <vector>

#include "gl_frame.h"
#include "scene.h"

// A mesh as the GL draws it: its arrays, uploaded once into buffer objects
// where the GL offers them, and the start and length of every strip.
struct MeshArrays {
    bool uploaded = false;
    unsigned buffers[4] = {0, 0, 0, 0};  // positions, normals, colours, strip indices
    std::vector<int> counts;
    std::vector<const void *> starts;  // offsets into the index buffer, or pointers
};

// Draws one frame and swaps buffers; the result viewer also prints the time the
// frame took.
void display_frame(Viewer &viewer, std::vector<MeshArrays> &arrays, GLFrame &frame);

// Draws the picking image (each visible mesh in a colour that encodes its
// index) without showing it and returns the index under window position
// (x, y), y counted from the top; a value past the meshes for the background.
int pick_mesh(Viewer &viewer, std::vector<MeshArrays> &arrays, GLFrame &frame, int x, int y);
