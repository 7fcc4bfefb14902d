#pragma once
// Readers and writers of the formats other than PLY. Each reader appends to
// the mesh and returns false when the file is malformed; each writer returns
// false when a write failed.

#include <string>

#include "InputStream.h"
#include "OutputStream.h"
#include "TriMesh.h"

// Wavefront OBJ: "v" and "f" lines (polygons split, 1-based or negative indices).
bool read_obj(InputStream &in, TriMesh &mesh);
bool write_obj(OutputStream &out, TriMesh &mesh);

// OFF, read from just after its "OFF" magic.
bool read_off(InputStream &in, TriMesh &mesh);
bool write_off(OutputStream &out, TriMesh &mesh);

// OFF with the header letters "ST" (texture coordinates, skipped), "C"
// (per-vertex colours: bytes or floats), "N" (normals) and "4" (homogeneous
// positions), in that order before "OFF". `magic` is the header word.
bool is_off_variant(const std::string &magic);
bool read_off_variant(InputStream &in, TriMesh &mesh, const std::string &magic);

// The count-first format: vertex count, positions, face count, triangles.
bool read_count_first(InputStream &in, TriMesh &mesh);
bool write_count_first(OutputStream &out, TriMesh &mesh);

// The ray-tracer scene format: "#vertex" and "#shape_triangle" records.
bool read_ray(InputStream &in, TriMesh &mesh);
bool write_ray(OutputStream &out, TriMesh &mesh);

// STL: binary files are recognised by their size (84 + 50 bytes per
// triangle), ASCII ones by "solid" and a first keyword "facet" or "endsolid".
// Identical corners become one vertex. Written with facet normals.
bool stl_binary_size_matches(InputStream &in);
bool stl_ascii_starts(InputStream &in);
bool read_stl_binary(InputStream &in, TriMesh &mesh);
bool read_stl_ascii(InputStream &in, TriMesh &mesh);
bool write_stl(OutputStream &out, TriMesh &mesh, bool ascii);

// 3DS chunks: object names, vertex lists and face lists.
bool read_3ds(InputStream &in, TriMesh &mesh);

// VIVID scanner files, read from just after their five magic bytes.
bool read_vivid(InputStream &in, TriMesh &mesh);

// C++ source with a function make_<name>() that rebuilds the mesh.
bool write_cpp_source(OutputStream &out, TriMesh &mesh, const std::string &name,
                      bool emit_normals, bool colors_as_float);
