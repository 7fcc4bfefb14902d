#pragma once
// File work of the stand-ins for the outside programs Tidegate, hole and merge,
// which the front end starts but the suite does not provide. The stand-ins
// accept the same command lines and write the output file the front end
// expects, without changing the mesh.

#include <string>

// Copies the file `from` to `to` byte for byte. Returns false, after printing
// the reason to the standard error stream, when either file cannot be used.
bool copy_file(const std::string &from, const std::string &to);

// Joins two OBJ files into `out`: first's lines unchanged, then second's, with
// the positive vertex, texture and normal indices of its faces, lines and
// points moved past first's elements (negative, relative indices stay valid as
// they are). Returns false, after printing the reason, when a file cannot be
// read or written.
bool join_obj_files(const std::string &first, const std::string &second, const std::string &out);
