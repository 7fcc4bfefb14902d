#pragma once
// Gaussian filters over the surface: smoothing of normals, smoothing of
// positions and sharpening. Each vertex gathers the vertices it reaches over
// the mesh within three standard deviations, weighted by distance, by how far
// their normals agree and by their point areas, so that parts of the mesh that
// are near in space but not connected do not mix.

#include <vector>

#include "TriMesh.h"
#include "gaussian_weight.h"
#include "vertex_flood.h"

// The normal-aware Gaussian average of a per-vertex field around vertex v:
// field[v] weighted by v's point area, plus every vertex j reached from v over
// `vertex_neighbors` whose normal faces the same side as v's (dot product above
// 0) and whose Gaussian weight is above 0, weighted by that weight times the dot
// product times j's point area. The fill does not go on past vertices that fail
// either test. Returns field[v] when v has no neighbours or the weights add up
// to 0.
// Needs current `normals`, `point_areas` and `vertex_neighbors` and
// `visit_marks` sized to the vertex count; increments `visit_stamp`.
// `scratch` is space that the caller keeps between calls, so that no call
// allocates. The filters below reach the same results by gather_taps over a
// packed copy of the surface, with marks of their own.
Point3 vertex_filter(TriMesh &mesh, const std::vector<Point3> &field, int v, float inv_sigma2,
                     FloodScratch &scratch);

// Replaces every normal by the normalised vertex_filter of the old normals
// with width sigma. Calls ensure_normals, ensure_point_areas and
// ensure_vertex_neighbors; sizes `visit_marks` to the vertex count. Works on
// all cores; the result does not depend on how many. Prints
// "\rSmoothing normals... " and the time taken. A width that is not above 0
// (or not finite) leaves the mesh unchanged with a note.
void normal_smooth(TriMesh &mesh, float sigma);

// Moves the vertices towards the Gaussian average of the surface around them
// (width sigma), with a correction that keeps the surface from shrinking: the
// displacement D towards the filtered position, plus a pull towards the centres
// of the vertex's own faces, is filtered once more into E, and each vertex
// moves by D - E. First smooths the normals with width sigma / 2 and keeps
// them; the weights use those normals. Clears point and corner areas,
// curvatures, bounding box and sphere. A vertex whose point area is 0 gets no
// face pull. Works on all cores, the result bit for bit the same however
// many: the weights gathered for D are kept for E in blocks, within an
// allowance of about the memory the mesh's arrays take, and the blocks past it
// gather again. A width that is not above 0 (or not finite) leaves the mesh
// unchanged with a note.
void gaussian_smooth(TriMesh &mesh, float sigma);

// Moves every vertex away from its gaussian_smooth position by as much again:
// new = s + 2 (old - s). Derived data as gaussian_smooth; the same note for a
// width that cannot be used.
void gaussian_sharpen(TriMesh &mesh, float sigma);
