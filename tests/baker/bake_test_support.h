#pragma once
// Meshes and helpers shared by the baker's tests.

#include <ostream>
#include <string>
#include <vector>

#include "TriMesh.h"
#include "test_support.h"

// make_grid_mesh(n) centred on the origin (spacing 1), lifted to the height
// z = a x^2 + b y^2: a bowl for a, b > 0, a saddle for a b < 0.
TriMesh make_quadric_patch(int n, float a, float b);

// Sets every principal curvature to 0.01 (with some frame), so that
// curvature_feature_size() is exactly 1 and the baker's scale arguments are
// in model units.
void make_feature_size_one(TriMesh &mesh);

// One colour per vertex, all black, as the driver sizes them.
void size_colours(TriMesh &mesh);

// The bake program run as a process, with its viewer switched off.
ProcessResult bake(const std::vector<std::string> &args);

// The banner exactly as bake prints it.
extern const std::string bake_banner;

// True when every colour component is within `tolerance` of `expected`'s.
bool near(const Color &actual, const Color &expected, float tolerance = 1e-6f);

// How GoogleTest shows a colour.
inline void PrintTo(const Color &c, std::ostream *os) { *os << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }
