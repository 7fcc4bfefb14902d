#pragma once
// Record layouts of vertex and face elements, and the readers of their data in
// ASCII and binary form. The PLY reader fills the layouts from a header; the
// OFF, count-first, 3DS and VIVID readers use the same readers with fixed
// layouts.

#include <cstdint>
#include <vector>

#include "InputStream.h"
#include "TriMesh.h"

// The scalar types of a record. Their binary sizes are 1, 1, 2, 2, 4, 4, 4, 8.
enum class PlyType : uint8_t { int8, uint8, int16, uint16, int32, uint32, float32, float64 };

int ply_type_size(PlyType type);

// One property of a record: a scalar, or a list with a count and items. A list
// without a count type (`fixed_count` > 0) always holds that many items and
// has no count in the file.
struct PlyProperty {
    PlyType type = PlyType::float32;  // the scalar, or the list's item type
    bool is_list = false;
    PlyType count_type = PlyType::uint8;
    int fixed_count = 0;
};

// A vertex record. The attributes are given by the index of their first
// property; the following components are the properties after it.
struct VertexLayout {
    std::vector<PlyProperty> properties;
    int position = -1;
    int normal = -1;
    int color = -1;
    int confidence = -1;
    // Colours are stored times this factor: 1/255 for bytes, 1/65535 for
    // 16-bit values, 1 for floats (which are read as floats in text files).
    float color_scale = 1.0f / 255.0f;

    // Size of one record in bytes (binary).
    int record_size() const;
    // Byte offset of property i in a record (binary).
    int offset(int i) const;
};

// A face record: scalar properties and one list of vertex indices among them.
struct FaceLayout {
    std::vector<PlyProperty> properties;
    int indices = -1;  // which property is the vertex-index list; -1 for none
    // In text files: skip the rest of the line after each face (OFF colours).
    bool skip_line_rest = false;
};

// An element whose data is skipped: `count` records of these properties.
struct SkippedElement {
    int64_t count = 0;
    std::vector<PlyProperty> properties;
};

// Skips the records of an element; false when the input ends first.
bool skip_element(InputStream &in, const SkippedElement &element, bool ascii, bool swap);

// A layout of bare float positions: x y z.
VertexLayout position_only_layout();

// Binary vertex records: appends `count` vertices (and normals, colours,
// confidences the layout has). The first vertex decides the byte order: when
// its position is out of range in the given order and in range reversed,
// `swap` is inverted (and stays so for the caller's later reads). Fails on a
// count below 1, a layout without a complete position, or a short read.
bool read_binary_vertices(InputStream &in, TriMesh &mesh, int count, const VertexLayout &layout,
                          bool &swap);

// Text vertex records, one token per scalar property.
bool read_ascii_vertices(InputStream &in, TriMesh &mesh, int count, const VertexLayout &layout);

// Binary face records; each polygon goes through add_polygon. Fails on a
// negative count, a missing index list (unless count is 0) or a short read.
bool read_binary_faces(InputStream &in, TriMesh &mesh, int count, const FaceLayout &layout,
                       bool swap);

// Text face records.
bool read_ascii_faces(InputStream &in, TriMesh &mesh, int count, const FaceLayout &layout);

// How many items of `bytes_each` bytes the rest of the input can hold at most;
// used to reserve no more than a file can fill.
size_t reservable(InputStream &in, size_t count, size_t bytes_each);
