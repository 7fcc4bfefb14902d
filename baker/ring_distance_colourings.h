#pragma once
// The colourings that count edge rings: from the boundary ("bdy") and from
// one vertex ("findv"). The ring counts are kept in `visit_marks`, sized to the
// vertex count: 0 at the start, one more per ring, rings + 1 beyond the last
// ring counted. Each vertex gets (1, m, m) with m = its count / (rings + 1):
// red at the start fading to white.

#include "TriMesh.h"

// "bdy": rings counted from the boundary vertices (is_boundary). Calls
// ensure_vertex_neighbors. Refuses rings below 0 (returns false after a
// message, colours unchanged).
bool bake_boundary_distance(TriMesh &mesh, int rings);

// "findv": rings counted from vertex `vertex`. Calls ensure_vertex_neighbors.
// Refuses rings below 0 and a vertex outside the mesh (returns false after a
// message, colours unchanged).
bool bake_vertex_distance(TriMesh &mesh, int vertex, int rings);
