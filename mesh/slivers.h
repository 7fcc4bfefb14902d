#pragma once
// The long-sliver test: faces that are both very long and very thin, as range
// scans make where a grid block bridges a depth jump.

#include <vector>

#include "TriMesh.h"

// Marks each face (one entry per face after ensure_faces) that has an edge at
// least eight feature sizes long (median_edge_length, which draws from the
// process-wide sample sequence) and a smallest angle of about 22.8 degrees or
// less (squared cosine at least 0.85). A face with two coincident corners and
// such a long edge counts as a sliver of angle 0. Changes only `faces`, through
// ensure_faces.
std::vector<bool> mark_long_slivers(TriMesh &mesh);
