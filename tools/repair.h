#pragma once
// Clean-up of a face list: coincident vertices welded, degenerate and repeated
// faces dropped, unused vertices removed.

#include <vector>

#include "TriMesh.h"

// Joins vertices at exactly the same position into the first of them (in
// index order): faces are rewritten to use it, and the others are removed with
// their per-vertex values. With `candidates`, only vertices marked there take
// part (a table of one entry per vertex). Faces that become degenerate stay
// (drop_bad_faces removes them). Returns how many vertices were welded away.
int weld_vertices(TriMesh &mesh, const std::vector<bool> *candidates = nullptr);

// Removes faces that use a vertex twice, and every face after the first over
// the same three vertices (in either winding). Returns how many went.
int drop_bad_faces(TriMesh &mesh);

// weld_vertices, drop_bad_faces and remove_unused_vertices in that order,
// reporting the counts on one line.
void repair_mesh(TriMesh &mesh);
