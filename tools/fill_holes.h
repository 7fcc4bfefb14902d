#pragma once
// Closing every hole of a surface.

#include "TriMesh.h"

struct HoleFillReport {
    int filled = 0;
    int skipped = 0;  // loops through non-manifold vertices, or that could not be closed
    int added_vertices = 0;
    int added_faces = 0;
};

// Closes each boundary loop of `mesh` (a plain face list, see keep_faces_only)
// with a patch: the minimal triangulation of its rim (triangulate_hole),
// refined to the edge lengths around it and faired (refine_patch,
// fair_patch). Patches wind as the faces around them do; the old vertices do
// not move. Added vertices get the mean colour and confidence of their rim and
// normals from the patch. Loops that pass a vertex with several boundary
// edges, or that cannot be closed, are skipped with a line saying which. The
// outer border of an open surface is a loop like any other and is closed too.
// Clears the derived data that followed the old faces.
HoleFillReport fill_holes(TriMesh &mesh);
