#pragma once
// Finding the mesh file that an input name stands for.

#include <string>

// The file to read for `path`: `path` itself when it exists; otherwise the one
// file in the same folder with the same name and another extension that the
// suite reads (.ply .obj .off .stl .sm .ray .3ds .vvd, in any case), with a
// line saying so. Returns "" after a line naming `program` and `path` when
// there is no such file or more than one.
std::string lookup_input(const char *program, const std::string &path);
