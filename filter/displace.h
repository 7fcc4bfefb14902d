#pragma once
// Moving vertices along their normals: the offset surface and random noise.

#include "TriMesh.h"

// Moves every vertex by `distance` along its normal (ensure_normals). The
// normals stay as they are, which is what they are for an offset surface;
// clears point and corner areas, curvatures, bounding box and sphere. Prints
// "Creating offset surface... " and "Done.\n". A distance that is not finite
// leaves the mesh unchanged with a note.
void offset_along_normals(TriMesh &mesh, float distance);

// Random displacement with amplitude s. Each vertex moves towards a random
// blend of its neighbours (a neighbour at distance d is taken
// s / (d + s) of the way times a random factor in [0, 1], and the sum is
// divided by the number of neighbours), plus a move along its normal that is
// uniform in [-s, s]. All moves are computed from the positions before the
// filter. Draws from a generator of its own that starts at the same state in
// every process and goes on from call to call: one draw per neighbour, then
// one for the normal, vertex by vertex. Calls ensure_normals and
// ensure_vertex_neighbors; clears the normals, point and corner areas,
// curvatures, bounding box and sphere. An amplitude that is not above 0 (or not
// finite) leaves the mesh unchanged with a note and draws nothing.
void noise_displace(TriMesh &mesh, float amplitude);
