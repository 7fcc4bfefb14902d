#pragma once
// Neighbour-average smoothing with shrink compensation: alternating shrinking
// and inflating steps towards the mean of each vertex's neighbours.

#include "TriMesh.h"

// Moves every interior vertex by lambda times the vector from it to the mean
// of its neighbours, all computed from the positions before the step; boundary
// vertices (is_boundary) and vertices without neighbours stay. Calls
// ensure_vertex_neighbors and ensure_vertex_faces. Clears the normals, point
// and corner areas, curvatures, bounding box and sphere.
void neighbour_average_step(TriMesh &mesh, float lambda);

// n rounds of a shrinking step (lambda 0.33) followed by a slightly larger
// inflating step (lambda -0.331), which smooths with little loss of volume.
// Prints "Smoothing mesh... " and "Done.\n"; n of 0 or less changes nothing.
// Derived data as neighbour_average_step.
void taubin_smooth(TriMesh &mesh, int n);
