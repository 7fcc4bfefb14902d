#pragma once
// Colours from hue, saturation and value, as the baker's colourings use them.

#include "TriMesh.h"

// The colour of hue h (radians; a full turn spans the six sectors red, yellow,
// green, cyan, blue, magenta), saturation s and value v. A saturation of 0 or
// less gives the grey (v, v, v); saturations above 1 are not limited and give
// negative components. All arithmetic is in float.
Color hsv_to_rgb(float h, float s, float v);
