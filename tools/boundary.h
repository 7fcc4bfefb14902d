#pragma once
// The borders of a surface: edges that only one face uses, and the loops they
// form around holes.

#include <vector>

#include "TriMesh.h"

// An edge used by exactly one face, directed as that face winds it.
struct BoundaryEdge {
    int from, to;
    int face;
};

// A closed walk along boundary edges: vertices[i] -> vertices[i + 1] (and the
// last back to the first) is an edge of faces[i].
struct BoundaryLoop {
    std::vector<int> vertices;
    std::vector<int> faces;
    // Every vertex of the loop has exactly one boundary edge in and one out,
    // so the loop is a simple hole rim.
    bool manifold = true;
};

// Every boundary edge, in face order. Needs `vertex_faces` (built on demand).
std::vector<BoundaryEdge> boundary_edges(TriMesh &mesh);

// Per vertex: whether a boundary edge ends there.
std::vector<bool> boundary_vertex_marks(TriMesh &mesh);

// The boundary edges joined into loops. A walk that passes a vertex with
// several boundary edges gives a loop that is not `manifold`; edges whose
// walk cannot close (inconsistently wound faces) make no loop and are
// counted in `open_chains`.
std::vector<BoundaryLoop> boundary_loops(TriMesh &mesh, int &open_chains);
