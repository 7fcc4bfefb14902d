#pragma once
// The one conversion between the record's faces and the flat index buffers
// that mesh libraries take (three unsigned indices per triangle). Positions
// need none: `Point3` is three packed floats, so `vertices` is already the
// float array such libraries read.

#include <cstddef>
#include <vector>

#include "TriMesh.h"

static_assert(sizeof(Point3) == 3 * sizeof(float), "positions are read as packed floats");

// The faces as an index buffer.
std::vector<unsigned> index_buffer(const TriMesh &mesh);

// Replaces the faces by the first `count` indices of `indices` (a multiple of
// three) and clears what followed the old faces (replace_faces).
void set_faces_from_indices(TriMesh &mesh, const unsigned *indices, size_t count);

// The positions as the float array that the libraries read.
inline const float *position_array(const TriMesh &mesh) { return &mesh.vertices.front().x; }
