#pragma once
// The box file of "-clip": six numbers, min x, y, z and max x, y, z.

#include "TriMesh.h"

// Reads the box from `filename` and clips the mesh to it (clip_to_box). On an
// axis whose max is below its min the two are swapped. Returns false, after
// printing "Couldn't open %s\n" or "Couldn't read %s\n", when the file cannot
// be opened or does not start with six numbers; the mesh is then unchanged.
bool read_clip_box(const char *filename, TriMesh &mesh);
