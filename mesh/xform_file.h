#pragma once
// ".xf" files: a mesh's placement stored beside the mesh file as a Matrix4 in
// plain text, four lines of four numbers, one line per matrix row.

#include <string>

#include "Matrix4.h"

// Reads sixteen numbers row by row (white space of any kind between them;
// anything after the sixteenth is ignored). On success sets xf and returns
// true; otherwise returns false and leaves xf unchanged.
bool read_xform_file(const std::string &name, Matrix4 &xf);

// Writes xf as four lines of four numbers ("%g"). The text goes to a temporary
// file in the same folder that then replaces `name`, so a failed write never
// leaves a partial file behind. Returns true when everything was written.
bool write_xform_file(const std::string &name, const Matrix4 &xf);

// The transform file that belongs to a mesh file: the name without its
// extension (from the last '.' of the file name, when it has one) plus ".xf".
// A '.' in a folder name is not an extension.
std::string transform_file_name(const std::string &mesh_file_name);
