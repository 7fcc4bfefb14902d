#pragma once
// The first triangulation of a hole.

#include <vector>

#include "hole_patch.h"

// Rims longer than this are closed by a fan around their centroid, since the
// minimal triangulation takes cubic time and quadratic memory in the rim length.
constexpr size_t max_minimal_rim = 1000;

// Fills `patch.faces` for a patch that holds only its rim (at least three
// vertices): the triangulation of the rim that minimises the largest dihedral
// angle (between patch triangles, and between them and `rim_normals[i]`, the
// unit normal of the face on rim edge i -> i + 1), then the total area. It
// adds no edge that `rim_edge` reports. Triangles wind against the rim's loop
// order, as the faces around the hole do. Returns false, leaving the patch
// unchanged, when no triangulation avoids such edges.
bool triangulate_hole(HolePatch &patch, const std::vector<Point3> &rim_normals, const RimEdgeTest &rim_edge);
