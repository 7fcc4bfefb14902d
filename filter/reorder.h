#pragma once
// Vertex renumbering in the order in which the surface uses the vertices, so
// that vertices close on the surface are close in memory and in the file.

#include "TriMesh.h"

// Renumbers the vertices in order of first use: by the range grid's cells when
// the mesh has a grid, else by its strips, else by the corners of its faces;
// vertices that none of these uses follow in their old order. No vertex is
// dropped. Applied through remap_verts, which moves every per-vertex array,
// renumbers faces, strips and grid, and rebuilds the derived data that existed.
// Logs "Reordering vertices... " and "Done.\n".
void reorder_vertices(TriMesh &mesh);
