#pragma once
// The PLY format: ASCII and binary in both byte orders, with normals, byte or
// float colours, confidences, and the surface as faces, triangle strips or a
// range grid.

#include "InputStream.h"
#include "OutputStream.h"
#include "TriMesh.h"

enum class PlyEncoding { ascii, binary_be, binary_le };

// Reads a PLY file into `mesh`, appending to what it holds. The stream stands
// just after the letters "ply" of the first line. Prints its own messages for
// header faults; returns false on any failure (the mesh keeps what was read).
bool parse_ply(InputStream &in, TriMesh &mesh);

// Writes `mesh` as PLY. Normals are computed (ensure_normals) and written when
// `emit_normals`; the range grid is written instead of faces when `emit_grid`
// and the mesh has one; strips are written when the mesh has them and no grid
// is written; otherwise faces (ensure_faces). Leaves the mesh as it was apart
// from the data computed on demand. Returns false when a write failed.
bool emit_ply(OutputStream &out, TriMesh &mesh, PlyEncoding encoding, bool emit_normals,
              bool emit_grid, bool colors_as_float);
