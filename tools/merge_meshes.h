#pragma once
// Joining two meshes into one.

#include "TriMesh.h"

// Appends `other` to `mesh` (both plain face lists, see keep_faces_only). A
// per-vertex attribute that either mesh has is kept for all vertices; the mesh
// without it gets the default: colours white, confidences 1, normals computed
// from its faces. Then the border vertices of both that lie at exactly the
// same position are welded (the first keeps its values), and faces that the
// welding made degenerate or repeated are dropped. Returns how many vertices
// were welded away.
int merge_meshes(TriMesh &mesh, TriMesh &other);
