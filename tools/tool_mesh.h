#pragma once
// What the three outside tools share around their operations: the first look
// at the command line, reading an input surface, turning the record into plain
// faces, and writing the result.

#include <memory>
#include <vector>

#include "TriMesh.h"

// Reads `path` with read_mesh and makes it a plain face list (keep_faces_only).
// Returns null, after a line naming `program` and the file, when the file
// cannot be read or holds no triangle.
std::unique_ptr<TriMesh> read_surface(const char *program, const char *path);

// Writes `mesh` to `path` with write_mesh. On failure prints a line naming
// `program` and the file and returns false; the file is then left as it was.
bool write_result(const char *program, const char *path, TriMesh &mesh);

// Makes `faces` the only form of the surface: builds it from strips or a grid,
// then drops those and every derived table that follows the faces or the
// positions (adjacency, areas, curvatures, bounds). Positions and the
// per-vertex colours, confidences and normals stay.
void keep_faces_only(TriMesh &mesh);

// Replaces the faces and clears the derived data that followed the old ones.
void replace_faces(TriMesh &mesh, std::vector<Face> faces);

// Removes the vertices that no face uses, carrying the per-vertex arrays along
// (remap_verts). Returns how many went.
int remove_unused_vertices(TriMesh &mesh);

// The first look at a tool's command line. A lone "-h" or "--help" prints
// `usage` to standard output and gives status 0; a command line whose shape
// is not `well_formed` prints `usage` and then `complaint` (one line naming
// what is expected) to standard error and gives status 1. Returns -1 when the
// tool should go on.
int check_command_line(int argc, char **argv, const char *usage, bool well_formed, const char *complaint);
