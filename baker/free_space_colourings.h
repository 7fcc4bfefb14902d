#pragma once
// The colourings that measure space around the surface with a k-d tree:
// accessibility ("acc", the largest free ball above each vertex) and the
// distance to a reference surface ("ao2").

#include "TriMesh.h"

// "acc": with f = curvature_feature_size(), maxsize = maxsize_factor * f and
// offset = offset_factor * f, each vertex p with normal n gets as grey the
// radius r of the largest ball centred at p + (offset + r) n that holds no
// vertex, found by eight halvings of [0, maxsize]: the midpoint of the last
// interval, in model units (maxsize less 1/512 of it where nothing is above).
// A ball of radius 0 or less holds no vertex. Calls ensure_normals and
// ensure_curvatures; builds a k-d tree of the vertices. Runs on all cores; the
// result does not depend on their number.
void bake_accessibility(TriMesh &mesh, double maxsize_factor, double offset_factor);

// "ao2": each vertex p gets the distance d from p to the nearest point of the
// faces around the reference vertex nearest to p (that vertex itself when it
// has no faces), or dmax when no reference vertex lies within dmax; with
// e = d / dmax the colour is hsv_to_rgb(4 (1 - e), 0.3 e + 0.7, 0.3 e + 0.7):
// blue on the reference surface, red at dmax and beyond. Calls the reference's
// ensure_vertex_faces and builds a k-d tree of its vertices. Refuses a dmax of
// 0 or less, or one that is not finite (returns false after a message, colours
// unchanged). Runs on all cores; the result does not depend on their number.
bool bake_reference_distance(TriMesh &mesh, TriMesh &reference, float dmax);
