// Binary files of other modelling and scanning tools: 3DS chunk files and
// VIVID scanner files. Both are read only.

#include <algorithm>
#include <climits>

#include "byte_order.h"
#include "formats.h"
#include "ply_layout.h"

namespace {

// The faces of one 3DS object: three indices (plus the object's first vertex)
// and a flags word each.
bool read_3ds_faces(InputStream &in, TriMesh &mesh, bool swap, int base)
{
    uint16_t count = 0;
    if (!read_value(in, swap, count))
        return false;
    progress_printf("\n  Reading %d faces... ", int(count));
    mesh.faces.reserve(mesh.faces.size() + count);
    for (unsigned i = 0; i < count; i++) {
        unsigned char b[8];
        if (in.read(b, 8) != 8)
            return false;
        mesh.faces.emplace_back(base + load<uint16_t>(b, swap), base + load<uint16_t>(b + 2, swap),
                                base + load<uint16_t>(b + 4, swap));
    }
    return true;
}

} // namespace

bool read_3ds(InputStream &in, TriMesh &mesh)
{
    bool swap = false;
    int base = 0;
    for (;;) {
        unsigned char header[6];
        const size_t got = in.read(header, 6);
        if (got == 0)
            return true;
        if (got != 6)
            return false;
        const unsigned id = load<uint16_t>(header, swap);
        const uint32_t length = load<uint32_t>(header + 2, swap);
        switch (id) {
        case 0x4D4D:
        case 0x3D3D: break;  // containers: their chunks follow
        case 0x4000:         // object: its name, then its chunks
            for (int c = in.get(); c > 0; c = in.get()) {
            }
            break;
        case 0x4100: base = int(mesh.vertices.size()); break;
        case 0x4110: {
            uint16_t count = 0;
            if (!read_value(in, swap, count))
                return false;
            read_binary_vertices(in, mesh, int(count), position_only_layout(), swap);
            break;
        }
        case 0x4120:
            if (!read_3ds_faces(in, mesh, swap, base))
                return false;
            break;
        default:
            if (length > 6 && !in.skip(length - 6))
                return true;
        }
    }
}

bool read_vivid(InputStream &in, TriMesh &mesh)
{
    uint32_t count = 0;
    if (!in.skip(127) || !read_value(in, true, count)) {
        error_printf("Couldn't read vertex count.\n");
        return false;
    }
    const int nv = int(std::min<uint32_t>(count, INT32_MAX));
    progress_printf("\n  Reading %d vertices... ", nv);
    mesh.vertices.reserve(mesh.vertices.size() + reservable(in, size_t(nv), 24));
    for (int i = 0; i < nv; i++) {
        unsigned char b[24];
        if (in.read(b, 24) != 24) {
            error_printf("Couldn't read vertex.\n");
            return false;
        }
        mesh.vertices.emplace_back(float(load<double>(b, true)), float(load<double>(b + 8, true)),
                                   float(load<double>(b + 16, true)));
    }
    if (!read_value(in, true, count)) {
        error_printf("Couldn't read face count.\n");
        return false;
    }
    FaceLayout layout;
    PlyProperty list;
    list.is_list = true;
    list.type = PlyType::int32;
    list.count_type = PlyType::int32;
    layout.properties.push_back(list);
    layout.indices = 0;
    // Once the vertices are there, a short face section still gives a mesh.
    read_binary_faces(in, mesh, int(std::min<uint32_t>(count, INT32_MAX)), layout, true);
    return true;
}
