#pragma once
// What Stripline removes: unused vertices, long slivers, the boundary ring and
// everything outside a box. Each marks what goes and hands the marks to the
// removers of the core (delete_vertices, delete_faces), which log what they do.

#include "TriMesh.h"

// Removes every vertex that no face uses; on a mesh without a surface that is
// every vertex. Faces are made from strips or grid to decide and dropped again
// afterwards, so a strip-only or grid mesh keeps its form.
void delete_orphan_vertices(TriMesh &mesh);

// Removes the long slivers (mark_long_slivers: an edge of at least eight
// feature sizes and a smallest angle of about 22.8 degrees or less) through
// delete_faces. Draws from the feature-size sample sequence.
void delete_sliver_faces(TriMesh &mesh);

// Removes every boundary vertex (is_boundary, decided for all vertices before
// anything goes, so one call takes exactly one ring) and the faces on them.
// Builds `vertex_neighbors` and `vertex_faces`, and so faces from strips or
// grid. A mesh without faces has no boundary and loses nothing.
void erode_boundary(TriMesh &mesh);

// Removes every vertex outside the box (strictly outside on some axis, so
// vertices on the box's surface stay) and the faces on them. Only box.min and
// box.max are read.
void clip_to_box(TriMesh &mesh, const BoundingBox &box);
