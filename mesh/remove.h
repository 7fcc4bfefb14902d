#pragma once
// Removal of marked vertices or faces from a mesh.

#include <vector>

#include "TriMesh.h"

// Deletes the marked vertices (marks[i] for vertex i) and every face that uses
// one of them; the kept vertices are renumbered densely in their old order
// through remap_verts, which carries every per-vertex array along and rebuilds
// the derived data that existed. Vertices beyond the end of `marks` are kept.
// Logs "Removing vertices... " and then "None removed.\n" or the count removed.
void delete_vertices(TriMesh &mesh, const std::vector<bool> &marks);

// Deletes the marked faces (marks[i] for face i of the mesh after ensure_faces);
// faces beyond the end of `marks` are kept. Vertices stay, even those no face
// uses any more. Empties `tristrips` and clears the adjacency tables and the
// point and corner areas. When faces were removed: a mesh that had strips gets
// them rebuilt (and, when it had no face list, goes back to its strip form
// through drop_face_list); a grid mesh keeps the remaining faces; the bounding
// box and sphere are invalidated.
void delete_faces(TriMesh &mesh, const std::vector<bool> &marks);

// Empties `faces` together with the derived data that follows the face
// numbering (`vertex_faces`, `across_edge`, corner and point areas), leaving
// the surface in its strip or grid form. Made again by ensure_faces, the faces
// may come in another order, so those tables could not be reused.
void drop_face_list(TriMesh &mesh);
