#pragma once
// The checks behind the fuzz targets, which the mesh tests also replay over
// every committed fuzz input. Each takes the bytes of one file and returns ""
// when the library behaved, or else what went wrong. A crash, a hang or a
// sanitizer report is the other kind of failure.

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the bytes as a mesh file of any format (chosen by its first bytes).
std::string check_read_mesh(const uint8_t *data, size_t size);

// Reads the bytes as a mesh file; a mesh that comes back is written in every
// output format and variant, and each readable one is read back: vertex and
// face counts, faces and positions must survive (exactly in binary files, to
// the printed precision in text).
std::string check_round_trip(const uint8_t *data, size_t size);

// Reads the bytes as a ".xf" file; a matrix that comes back is written and read
// back to the printed precision.
std::string check_xform_file(const uint8_t *data, size_t size);
