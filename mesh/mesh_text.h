#pragma once
// Pieces shared by the format readers and writers: polygon splitting, colour
// bytes, and the vertex and face lines of the text formats.

#include <span>

#include "OutputStream.h"
#include "TriMesh.h"

// Appends the triangles of one polygon to `faces`: nothing for fewer than 3
// indices, a quad split along its shorter diagonal ((b,c,d),(b,d,a) on a tie),
// larger polygons fanned from their first index.
void add_polygon(TriMesh &mesh, std::span<const int> indices);

// A colour component as a byte: round(c * 255) clamped to 0..255; NaN gives 0.
unsigned char color_to_byte(float c);

// One text line per vertex: prefix, position, then (each only when present and
// its separator is not null) separator and normal, separator and colour (floats
// or bytes), separator and confidence, then the suffix and a line feed.
void write_vertex_lines(const TriMesh &mesh, OutputStream &out, const char *prefix,
                        const char *normal_sep, const char *color_sep, bool colors_as_float,
                        const char *conf_sep, const char *suffix);

// One text line per face: prefix, the three indices plus `base`, suffix.
void write_face_lines(const TriMesh &mesh, OutputStream &out, const char *prefix, int base,
                      const char *suffix);
