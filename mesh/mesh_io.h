#pragma once
// Loading and saving meshes: the only way the tools read and write mesh files.

#include <memory>

#include "TriMesh.h"

// Reads a mesh file, recognising its format by its first bytes (PLY, OBJ, OFF,
// the count-first format, the ray-tracer scene format, 3DS, VIVID). "-" reads
// standard input. Indices that start at a base other than 0 but cover exactly
// the vertex range are shifted to start at 0. Returns null, after printing why,
// when the file cannot be opened or read, has no vertices, or has faces or
// strips that use vertices it does not have.
std::unique_ptr<TriMesh> read_mesh(const char *filename);

// Writes a mesh. The format comes from the extension (.ply, .ray, .obj, .off,
// .sm, .c*; PLY otherwise) and from name prefixes such as "norm:", "nogrid:",
// "cflt:", "ascii:", "be:", "obj:". "-" writes standard output. A named file is
// replaced only when the whole write succeeded. The mesh is unchanged apart
// from derived data computed on demand (normals, faces). Returns success.
bool write_mesh(const char *filename, TriMesh &mesh);
