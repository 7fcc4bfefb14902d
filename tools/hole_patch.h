#pragma once
// The patch that closes one hole, in a numbering of its own: the hole's rim
// first, in loop order, then the vertices the patch adds. Rim vertices never
// move.

#include <functional>
#include <vector>

#include "TriMesh.h"

struct HolePatch {
    std::vector<Point3> points;  // rim first, then added vertices
    std::vector<Face> faces;     // patch triangles, in this numbering
    size_t rim = 0;              // rim vertex count
};

// Whether the surface around the hole already joins rim vertices i and j by
// an edge (so the patch must not add one).
using RimEdgeTest = std::function<bool(int, int)>;

// Refines the patch until its triangles' size matches the surroundings: in
// rounds, a triangle whose centroid lies further than its corners' scale
// (times sqrt 2) from each corner gets a vertex there, and edges are flipped
// towards a Delaunay triangulation meanwhile and after. `rim_scale` is the
// typical edge length at each rim vertex; a vertex the first triangulation
// added takes the mean of its rim neighbours', and split vertices the mean of
// their triangle's.
void refine_patch(HolePatch &patch, const std::vector<float> &rim_scale, const RimEdgeTest &rim_edge);

// What lies beyond a rim vertex: the sum of the positions of its neighbours
// off the patch, other than its two rim neighbours, and how many there are.
struct RimSurroundings {
    std::vector<Point3> sum;
    std::vector<int> count;
};

// Places the added vertices smoothly: they minimise the sum of squared
// umbrella Laplacians over the patch and its rim (the rim's Laplacians
// counting its neighbours beyond), so that the patch meets the surface
// without a crease. Rim vertices stay where they are.
void fair_patch(HolePatch &patch, const RimSurroundings &beyond);
