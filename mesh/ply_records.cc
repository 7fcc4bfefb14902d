// Readers of vertex and face records in binary and text form.

#include <algorithm>
#include <climits>

#include "byte_order.h"
#include "mesh_text.h"
#include "ply_layout.h"

int ply_type_size(PlyType type)
{
    switch (type) {
    case PlyType::int8:
    case PlyType::uint8: return 1;
    case PlyType::int16:
    case PlyType::uint16: return 2;
    case PlyType::float64: return 8;
    default: return 4;
    }
}

int VertexLayout::offset(int i) const
{
    int size = 0;
    for (int k = 0; k < i; k++)
        size += ply_type_size(properties[k].type);
    return size;
}

int VertexLayout::record_size() const { return offset(int(properties.size())); }

VertexLayout position_only_layout()
{
    VertexLayout layout;
    layout.properties.assign(3, PlyProperty{});
    layout.position = 0;
    return layout;
}

size_t reservable(InputStream &in, size_t count, size_t bytes_each)
{
    // Without a known size, reserve a bounded amount and let the vector grow
    // only as far as data actually arrives.
    const size_t left = in.remaining_hint();
    const size_t cap = left == SIZE_MAX ? size_t(1) << 20 : left / std::max<size_t>(bytes_each, 1);
    return std::min(count, cap);
}

namespace {

double decode(const unsigned char *p, PlyType type, bool swap)
{
    switch (type) {
    case PlyType::int8: return double(int8_t(*p));
    case PlyType::uint8: return double(*p);
    case PlyType::int16: return double(load<int16_t>(p, swap));
    case PlyType::uint16: return double(load<uint16_t>(p, swap));
    case PlyType::int32: return double(load<int32_t>(p, swap));
    case PlyType::uint32: return double(load<uint32_t>(p, swap));
    case PlyType::float32: return double(load<float>(p, swap));
    case PlyType::float64: return load<double>(p, swap);
    }
    return 0.0;
}

// A list count or index as an int; values beyond the int range become -1.
int decode_index(const unsigned char *p, PlyType type, bool swap)
{
    const double v = decode(p, type, swap);
    return v >= 0.0 && v <= double(INT_MAX) ? int(v) : v < 0.0 && v >= double(INT_MIN) ? int(v) : -1;
}

// An attribute is usable when all its components are in the record.
bool complete(const VertexLayout &layout, int first, int components)
{
    return first >= 0 && first + components <= int(layout.properties.size());
}

// Decodes three consecutive properties starting at `first`.
Point3 decode3(const unsigned char *record, const VertexLayout &layout, int first, bool swap)
{
    Point3 p;
    int at = layout.offset(first);
    for (int k = 0; k < 3; k++) {
        const PlyType t = layout.properties[first + k].type;
        p[k] = float(decode(record + at, t, swap));
        at += ply_type_size(t);
    }
    return p;
}

bool in_range(const Point3 &p)
{
    for (int k = 0; k < 3; k++)
        if (!(p[k] > -1e10f && p[k] < 1e10f))
            return false;
    return true;
}

struct VertexTargets {
    bool normals, colors, confidences;
};

VertexTargets usable_attributes(const VertexLayout &layout)
{
    return {complete(layout, layout.normal, 3), complete(layout, layout.color, 3),
            complete(layout, layout.confidence, 1)};
}

void decode_vertex(const unsigned char *record, const VertexLayout &layout, const VertexTargets &t,
                   bool swap, TriMesh &mesh)
{
    mesh.vertices.push_back(decode3(record, layout, layout.position, swap));
    if (t.normals)
        mesh.normals.push_back(decode3(record, layout, layout.normal, swap));
    if (t.colors) {
        const Point3 c = decode3(record, layout, layout.color, swap) * layout.color_scale;
        mesh.colors.emplace_back(c.x, c.y, c.z);
    }
    if (t.confidences)
        mesh.confidences.push_back(
            float(decode(record + layout.offset(layout.confidence),
                         layout.properties[layout.confidence].type, swap)));
}

void reserve_vertices(TriMesh &mesh, const VertexTargets &t, size_t n)
{
    mesh.vertices.reserve(mesh.vertices.size() + n);
    if (t.normals)
        mesh.normals.reserve(mesh.normals.size() + n);
    if (t.colors)
        mesh.colors.reserve(mesh.colors.size() + n);
    if (t.confidences)
        mesh.confidences.reserve(mesh.confidences.size() + n);
}

bool bare_float_positions(const VertexLayout &layout, const VertexTargets &t)
{
    return layout.properties.size() == 3 && layout.position == 0 && !t.normals && !t.colors &&
           !t.confidences &&
           std::all_of(layout.properties.begin(), layout.properties.end(),
                       [](const PlyProperty &p) { return p.type == PlyType::float32; });
}

} // namespace

bool read_binary_vertices(InputStream &in, TriMesh &mesh, int count, const VertexLayout &layout,
                          bool &swap)
{
    const int record = layout.record_size();
    if (count <= 0 || record < 12 || !complete(layout, layout.position, 3))
        return false;
    const VertexTargets targets = usable_attributes(layout);
    reserve_vertices(mesh, targets, reservable(in, size_t(count), size_t(record)));

    std::vector<unsigned char> buf(static_cast<size_t>(record));
    if (in.read(buf.data(), buf.size()) != buf.size())
        return false;
    const Point3 as_given = decode3(buf.data(), layout, layout.position, swap);
    if (!in_range(as_given) && in_range(decode3(buf.data(), layout, layout.position, !swap))) {
        progress_printf("Compensating for bogus endianness...\n");
        swap = !swap;
    }
    decode_vertex(buf.data(), layout, targets, swap, mesh);
    progress_printf("\n  Reading %d vertices... ", count);

    if (bare_float_positions(layout, targets)) {
        // The remaining positions in large blocks straight into the array,
        // swapped in place; the array grows only as far as data arrives.
        for (size_t left = size_t(count) - 1; left > 0;) {
            const size_t n = std::min(left, size_t(1) << 20);
            const size_t at = mesh.vertices.size();
            mesh.vertices.resize(at + n);
            const size_t got = in.read(mesh.vertices.data() + at, n * 12);
            if (got != n * 12) {
                // Keep the whole positions that arrived, not the zeros after them.
                mesh.vertices.resize(at + got / 12);
                if (swap)
                    swap_words(mesh.vertices.data() + at, got / 12 * 3);
                return false;
            }
            if (swap)
                swap_words(mesh.vertices.data() + at, n * 3);
            left -= n;
        }
        return true;
    }
    // Records in batches through one buffer.
    const size_t batch = std::max<size_t>(1, (size_t(1) << 16) / size_t(record));
    buf.resize(batch * size_t(record));
    for (size_t left = size_t(count) - 1; left > 0;) {
        const size_t n = std::min(batch, left);
        if (in.read(buf.data(), n * size_t(record)) != n * size_t(record))
            return false;
        for (size_t k = 0; k < n; k++)
            decode_vertex(buf.data() + k * size_t(record), layout, targets, swap, mesh);
        left -= n;
    }
    return true;
}

bool read_ascii_vertices(InputStream &in, TriMesh &mesh, int count, const VertexLayout &layout)
{
    const int tokens = int(layout.properties.size());
    if (count <= 0 || tokens < 3 || !complete(layout, layout.position, 3))
        return false;
    const VertexTargets t = usable_attributes(layout);
    reserve_vertices(mesh, t, reservable(in, size_t(count), size_t(tokens) * 2));
    in.skip_comment_lines();
    progress_printf("\n  Reading %d vertices... ", count);

    auto read3 = [&](Point3 &p) {
        return in.read_float(p.x) && in.read_float(p.y) && in.read_float(p.z);
    };
    for (int i = 0; i < count; i++) {
        for (int k = 0; k < tokens;) {
            if (k == layout.position) {
                Point3 p;
                if (!read3(p))
                    return false;
                mesh.vertices.push_back(p);
                k += 3;
            } else if (k == layout.normal && t.normals) {
                Point3 n;
                if (!read3(n))
                    return false;
                mesh.normals.push_back(n);
                k += 3;
            } else if (k == layout.color && t.colors) {
                Color c;
                if (layout.color_scale == 1.0f) {
                    if (!in.read_float(c.r) || !in.read_float(c.g) || !in.read_float(c.b))
                        return false;
                } else {
                    int r, g, b;
                    if (!in.read_int(r) || !in.read_int(g) || !in.read_int(b))
                        return false;
                    c = Color(r * layout.color_scale, g * layout.color_scale, b * layout.color_scale);
                }
                mesh.colors.push_back(c);
                k += 3;
            } else if (k == layout.confidence && t.confidences) {
                float c;
                if (!in.read_float(c))
                    return false;
                mesh.confidences.push_back(c);
                k++;
            } else {
                if (!in.skip_word())
                    return false;
                k++;
            }
        }
    }
    return true;
}

bool skip_element(InputStream &in, const SkippedElement &element, bool ascii, bool swap)
{
    // Records without properties take no bytes, however many the header counts.
    if (element.properties.empty())
        return true;
    const bool has_list = std::any_of(element.properties.begin(), element.properties.end(),
                                      [](const PlyProperty &p) { return p.is_list; });
    if (!ascii && !has_list) {
        uint64_t size = 0;
        for (const PlyProperty &p : element.properties)
            size += uint64_t(ply_type_size(p.type));
        const uint64_t total = size * uint64_t(element.count);
        return (size == 0 || total / size == uint64_t(element.count)) && total <= SIZE_MAX &&
               in.skip(size_t(total));
    }
    for (int64_t i = 0; i < element.count; i++)
        for (const PlyProperty &p : element.properties) {
            int n = 1;
            if (p.is_list) {
                if (ascii) {
                    if (!in.read_int(n))
                        return false;
                } else {
                    unsigned char b[8];
                    const size_t size = size_t(ply_type_size(p.count_type));
                    if (in.read(b, size) != size)
                        return false;
                    n = decode_index(b, p.count_type, swap);
                }
                if (n < 0)
                    return false;
            }
            if (!ascii) {
                if (!in.skip(size_t(n) * size_t(ply_type_size(p.type))))
                    return false;
                continue;
            }
            for (int k = 0; k < n; k++)
                if (!in.skip_word())
                    return false;
        }
    return true;
}

namespace {

// The usual face record, a byte count and 4-byte indices, read straight from
// the input buffer: triangles take one step each; other records go the
// general way.
bool plain_face_layout(const FaceLayout &layout)
{
    return layout.properties.size() == 1 && layout.properties[0].count_type == PlyType::uint8 &&
           layout.properties[0].fixed_count == 0 &&
           (layout.properties[0].type == PlyType::int32 || layout.properties[0].type == PlyType::uint32);
}

bool read_binary_face(InputStream &in, TriMesh &mesh, const FaceLayout &layout, bool swap,
                      std::vector<int> &polygon, std::vector<unsigned char> &bytes)
{
    unsigned char scratch[8];
    for (int k = 0; k < int(layout.properties.size()); k++) {
        const PlyProperty &p = layout.properties[k];
        if (!p.is_list) {
            if (!in.skip(size_t(ply_type_size(p.type))))
                return false;
            continue;
        }
        int n = p.fixed_count;
        if (n == 0) {
            const int size = ply_type_size(p.count_type);
            if (in.read(scratch, size_t(size)) != size_t(size))
                return false;
            n = decode_index(scratch, p.count_type, swap);
            if (n < 0)
                return false;
        }
        const size_t item = size_t(ply_type_size(p.type));
        if (k != layout.indices) {
            if (!in.skip(size_t(n) * item))
                return false;
            continue;
        }
        polygon.clear();
        for (int done = 0; done < n;) {
            // Indices in pieces, so that a huge count reads only what is there.
            const int piece = std::min(n - done, 4096);
            bytes.resize(size_t(piece) * item);
            if (in.read(bytes.data(), bytes.size()) != bytes.size())
                return false;
            for (int m = 0; m < piece; m++)
                polygon.push_back(decode_index(bytes.data() + size_t(m) * item, p.type, swap));
            done += piece;
        }
        add_polygon(mesh, polygon);
    }
    return true;
}

} // namespace

bool read_binary_faces(InputStream &in, TriMesh &mesh, int count, const FaceLayout &layout,
                       bool swap)
{
    if (count == 0)
        return true;
    if (count < 0 || layout.indices < 0)
        return false;
    progress_printf("\n  Reading %d faces... ", count);
    mesh.faces.reserve(mesh.faces.size() + reservable(in, size_t(count), 13));

    const bool plain = plain_face_layout(layout);
    const bool unsigned_indices = layout.properties[layout.indices].type == PlyType::uint32;
    const auto index_at = [&](const unsigned char *q) {
        const uint32_t v = load<uint32_t>(q, swap);
        return unsigned_indices && v > uint32_t(INT_MAX) ? -1 : int(v);
    };
    std::vector<int> polygon;
    std::vector<unsigned char> bytes;
    for (int i = 0; i < count;) {
        if (plain) {
            size_t avail = 0;
            const unsigned char *p = in.view(1 << 16, avail);
            size_t used = 0;
            for (; i < count && avail - used >= 13 && p[used] == 3; i++, used += 13) {
                const unsigned char *q = p + used + 1;
                mesh.faces.emplace_back(index_at(q), index_at(q + 4), index_at(q + 8));
            }
            in.advance(used);
            if (i == count)
                break;
        }
        if (!read_binary_face(in, mesh, layout, swap, polygon, bytes))
            return false;
        i++;
    }
    return true;
}

bool read_ascii_faces(InputStream &in, TriMesh &mesh, int count, const FaceLayout &layout)
{
    if (count == 0)
        return true;
    if (count < 0 || layout.indices < 0)
        return false;
    mesh.faces.reserve(mesh.faces.size() + reservable(in, size_t(count), 8));
    in.skip_comment_lines();
    progress_printf("\n  Reading %d faces... ", count);

    std::vector<int> polygon;
    for (int i = 0; i < count; i++) {
        for (int k = 0; k < int(layout.properties.size()); k++) {
            const PlyProperty &p = layout.properties[k];
            if (!p.is_list) {
                if (!in.skip_word())
                    return false;
                continue;
            }
            int n = p.fixed_count;
            if (n == 0 && !in.read_int(n)) {
                if (k == layout.indices)
                    progress_printf("Couldn't read vertex count for face %d\n", i);
                return false;
            }
            if (k != layout.indices) {
                for (int m = 0; m < n; m++)
                    if (!in.skip_word())
                        return false;
                continue;
            }
            polygon.clear();
            for (int m = 0; m < n; m++) {
                int v;
                if (!in.read_int(v)) {
                    progress_printf("Couldn't read vertex index %d for face %d\n", m, i);
                    return false;
                }
                polygon.push_back(v);
            }
            add_polygon(mesh, polygon);
        }
        if (layout.skip_line_rest)
            in.skip_line();
    }
    return true;
}
