#pragma once
// Gaussian smoothing of the principal curvatures over the surface.

#include "TriMesh.h"

// Replaces every vertex's principal curvatures and directions by the
// Gaussian-weighted average of the curvature tensors around it: the vertex's
// own tensor weighted by its point area, plus every vertex j reached over
// `vertex_neighbors` whose normal faces the same side (positive dot product)
// and lies within three standard deviations sigma, weighted by
// exp(-d^2 / (2 sigma^2)) times the dot product of the normals times j's point
// area, with j's tensor turned into the vertex's own frame. The fill does not
// go on past vertices that fail either test. All tensors are computed from the
// unsmoothed curvatures, then diagonalised. A vertex without neighbours, or
// whose weights add up to 0, keeps its curvature.
// Calls ensure_normals, ensure_point_areas, ensure_curvatures and
// ensure_vertex_neighbors. Prints "Smoothing curvatures... " and the time
// taken. Runs on all cores; the result does not depend on their number.
void smooth_curvatures(TriMesh &mesh, float sigma);
