#pragma once
// Bilateral (feature-preserving) smoothing of positions over faces.

#include "TriMesh.h"

// Two passes over the faces each vertex reaches across edges within three
// standard deviations. Pass 1 gives every vertex the area- and
// Gaussian-weighted mean of those faces' centres (width sigma_s / 2): the
// mollified positions. Pass 2 projects the mollified position onto the plane of
// each reached face (its normal taken from the mollified positions) and
// averages the projections, weighted by the Gaussian of the centre's distance
// (width sigma_s), of the projection's distance (width sigma_r) and by the
// face's area. Pass 2 stores each vertex as soon as it is done, so later
// vertices see the faces of earlier ones where they have moved to. A vertex
// whose weights add up to 0 in a pass takes the point that pass started from
// (its position, then its mollified position); a vertex without faces keeps
// its position. A face without area in the mollified positions has no plane
// and adds nothing to pass 2. Both passes run on all cores, and the result
// is the same bit for bit on any number of them.
// Calls ensure_faces, ensure_vertex_faces and ensure_across_edge. Clears the
// normals, point and corner areas, curvatures, bounding box and sphere.
// Prints "\rSmoothing... " and the time taken. A width that is not above 0
// (or not finite) leaves the mesh unchanged with a note.
void bilateral_smooth(TriMesh &mesh, float sigma_s, float sigma_r);
