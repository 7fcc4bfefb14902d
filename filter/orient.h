#pragma once
// Face winding: consistent outward orientation and reversal of every face.

#include "TriMesh.h"

// Makes the winding of every edge-connected piece consistent and turns each
// piece outward, judged by the summed face vectors around its vertex of
// largest x. A face is reversed by exchanging corners 1 and 2. Empties
// `tristrips` (faces are made from strips or grid first) and leaves in
// `visit_marks` one component number per face (0, 1, ... in order of
// discovery). Uses `vertex_faces`; when any face changed, clears the adjacency
// tables and the corner and point areas. Normals are not touched. Logs
// "Auto-orienting mesh... " and "Done.\n".
void orient_faces(TriMesh &mesh);

// Reverses every face by exchanging corners 0 and 2, so applying it twice
// restores every face exactly. Faces are made from strips or grid first; the
// adjacency tables and the corner and point areas are cleared, and strips the
// mesh had are rebuilt from the reversed faces. Normals are not touched. Logs
// "Flipping faces... " and "Done.\n".
void flip_faces(TriMesh &mesh);
