#pragma once
// Reduction of a mesh to a triangle budget by quadric-error edge collapse
// (meshoptimizer), with a clustering pass when the collapses stop short.

#include <cstddef>

#include "TriMesh.h"

struct ReduceOptions {
    bool keep_topology = false;  // never change the topology, even if the budget is missed
    bool keep_borders = false;   // border vertices stay where they are during the collapses
};

struct ReduceResult {
    size_t collapsed = 0;     // triangles after the edge collapses
    size_t faces = 0;         // triangles at the end
    bool clustered = false;   // the clustering pass ran after the collapses
};

// Reduces `mesh` (a plain face list, see keep_faces_only) to at most
// `max_faces` triangles. The edge collapses keep the topology and move no
// vertex: every kept vertex keeps its position, colour, normal and confidence.
// When they stop above the budget and the topology need not be kept, a
// clustering pass (which may close holes and join pieces) reaches it; it moves
// borders too. Vertices no face uses any more are removed. A mesh already
// within the budget is left as it is.
ReduceResult reduce_mesh(TriMesh &mesh, size_t max_faces, const ReduceOptions &options);
