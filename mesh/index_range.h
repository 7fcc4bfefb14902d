#pragma once
// Range tests for indices read from faces, strips and grids. Readers reject
// meshes whose indices name no vertex; the algorithms still test them where it
// is cheap, so that a damaged record can never be read out of range.

#include <cstddef>

#include "TriMesh.h"

// True when i names one of n elements.
inline bool index_in_range(int i, size_t n) { return i >= 0 && size_t(i) < n; }

// True when all three corners of f name one of nv vertices.
inline bool face_in_range(const Face &f, size_t nv)
{
    return index_in_range(f[0], nv) && index_in_range(f[1], nv) && index_in_range(f[2], nv);
}
