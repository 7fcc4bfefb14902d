#pragma once
// What goes stale when faces are rewound or replaced.

#include "TriMesh.h"

// Clears the derived data that follows the faces' corners and edges: the
// adjacency tables (`vertex_neighbors`, `vertex_faces`, `across_edge`) and the
// corner and point areas. Operations that change faces call it as soon as they
// do, so that nothing after them (a strip rebuild, a later option) reads
// connectivity of the faces as they were.
inline void clear_face_derived_data(TriMesh &mesh)
{
    mesh.clear_adjacency();
    mesh.clear_point_areas();
}
