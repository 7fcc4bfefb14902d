// The PLY writer: header, then vertices and the surface as text or binary in
// either byte order. Big-endian values are swapped on their way into the
// output buffer, so the mesh itself is never changed.

#include <cstring>

#include "byte_order.h"
#include "mesh_text.h"
#include "ply.h"

namespace {

enum class Body { faces, strips, grid };

// Calls emit(value) for every value of counted strips in terminated form.
template <typename Emit>
void for_each_terminated(const std::vector<int> &strips, Emit emit)
{
    for (size_t i = 0; i < strips.size();) {
        const size_t n = size_t(std::max(strips[i], 0));
        const size_t end = std::min(strips.size(), i + 1 + n);
        for (size_t k = i + 1; k < end; k++)
            emit(strips[k]);
        emit(-1);
        i = end;
    }
}

void write_header(OutputStream &out, const TriMesh &mesh, PlyEncoding encoding, Body body,
                  bool normals, bool colors_as_float)
{
    static const char *const names[] = {"ascii", "binary_big_endian", "binary_little_endian"};
    out.printf("ply\nformat %s 1.0\n", names[int(encoding)]);
    if (body == Body::grid)
        out.printf("obj_info num_cols %d\nobj_info num_rows %d\n", mesh.grid_cols, mesh.grid_rows);
    out.printf("element vertex %lu\n", (unsigned long)mesh.vertices.size());
    out.puts("property float x\nproperty float y\nproperty float z\n");
    if (normals)
        out.puts("property float nx\nproperty float ny\nproperty float nz\n");
    if (!mesh.colors.empty())
        out.puts(colors_as_float
                     ? "property float diffuse_red\nproperty float diffuse_green\nproperty float diffuse_blue\n"
                     : "property uchar diffuse_red\nproperty uchar diffuse_green\nproperty uchar diffuse_blue\n");
    if (!mesh.confidences.empty())
        out.puts("property float confidence\n");
    switch (body) {
    case Body::grid:
        out.printf("element range_grid %d\nproperty list uchar int vertex_indices\n",
                   mesh.grid_cols * mesh.grid_rows);
        break;
    case Body::strips:
        out.puts("element tristrips 1\nproperty list int int vertex_indices\n");
        break;
    case Body::faces:
        out.printf("element face %lu\nproperty list uchar int vertex_indices\n",
                   (unsigned long)mesh.faces.size());
        break;
    }
    out.puts("end_header\n");
}

void write_ascii_body(OutputStream &out, const TriMesh &mesh, Body body, bool normals,
                      bool colors_as_float)
{
    write_vertex_lines(mesh, out, "", normals ? " " : nullptr, " ", colors_as_float, " ", "");
    switch (body) {
    case Body::grid:
        for (int cell : mesh.range_grid) {
            if (cell < 0) {
                out.puts("0\n");
            } else {
                out.puts("1 ");
                out.write_int(cell);
                out.put('\n');
            }
        }
        break;
    case Body::faces: write_face_lines(mesh, out, "3 ", 0, ""); break;
    case Body::strips:
        out.printf("%lu ", (unsigned long)mesh.tristrips.size());
        for_each_terminated(mesh.tristrips, [&](int v) {
            out.write_int(v);
            out.put(' ');
        });
        out.put('\n');
        break;
    }
}

// Binary values in the file's byte order.
class BinaryWriter {
public:
    BinaryWriter(OutputStream &out_, bool swap_) : out(out_), swap(swap_) {}

    void byte(unsigned char b) { out.put(char(b)); }
    void word(const void *p)
    {
        unsigned char b[4];
        std::memcpy(b, p, 4);
        if (swap)
            swap_bytes(b, 4);
        out.write(b, 4);
    }
    void integer(int v) { word(&v); }
    void real(float v) { word(&v); }
    void point(const Point3 &p)
    {
        real(p.x);
        real(p.y);
        real(p.z);
    }
    // Face records: the count 3 and three indices each.
    void faces(const std::vector<Face> &faces)
    {
        constexpr size_t batch = 4096;
        for (size_t i = 0; i < faces.size(); i += batch) {
            const size_t n = std::min(batch, faces.size() - i);
            char *p = out.room(n * 13);
            for (size_t k = 0; k < n; k++, p += 13) {
                p[0] = 3;
                std::memcpy(p + 1, faces[i + k].v, 12);
                if (swap)
                    swap_words(p + 1, 3);
            }
            out.commit(n * 13);
        }
    }
    // An array of 4-byte values, in blocks.
    void words(const void *data, size_t count)
    {
        if (!swap) {
            out.write(data, count * 4);
            return;
        }
        unsigned char block[1 << 14];
        const auto *p = static_cast<const unsigned char *>(data);
        for (size_t left = count; left > 0;) {
            const size_t n = std::min(left, sizeof block / 4);
            std::memcpy(block, p, n * 4);
            swap_words(block, n);
            out.write(block, n * 4);
            p += n * 4;
            left -= n;
        }
    }

private:
    OutputStream &out;
    bool swap;
};

void write_binary_body(OutputStream &out, const TriMesh &mesh, PlyEncoding encoding, Body body,
                       bool normals, bool colors_as_float)
{
    BinaryWriter w(out, encoding == PlyEncoding::binary_be);
    if (!normals && mesh.colors.empty() && mesh.confidences.empty()) {
        w.words(mesh.vertices.data(), mesh.vertices.size() * 3);
    } else {
        for (size_t i = 0; i < mesh.vertices.size(); i++) {
            w.point(mesh.vertices[i]);
            if (normals)
                w.point(mesh.normals[i]);
            if (!mesh.colors.empty()) {
                const Color &c = mesh.colors[i];
                if (colors_as_float) {
                    w.real(c.r);
                    w.real(c.g);
                    w.real(c.b);
                } else {
                    w.byte(color_to_byte(c.r));
                    w.byte(color_to_byte(c.g));
                    w.byte(color_to_byte(c.b));
                }
            }
            if (!mesh.confidences.empty())
                w.real(mesh.confidences[i]);
        }
    }
    switch (body) {
    case Body::grid:
        for (int cell : mesh.range_grid) {
            if (cell < 0) {
                w.byte(0);
            } else {
                w.byte(1);
                w.integer(cell);
            }
        }
        break;
    case Body::faces: w.faces(mesh.faces); break;
    case Body::strips:
        w.integer(int(mesh.tristrips.size()));
        for_each_terminated(mesh.tristrips, [&](int v) { w.integer(v); });
        break;
    }
}

} // namespace

bool emit_ply(OutputStream &out, TriMesh &mesh, PlyEncoding encoding, bool emit_normals,
              bool emit_grid, bool colors_as_float)
{
    if (emit_normals)
        mesh.ensure_normals();
    const bool normals = emit_normals && !mesh.normals.empty();
    Body body = Body::faces;
    if (emit_grid && !mesh.range_grid.empty())
        body = Body::grid;
    else if (!mesh.tristrips.empty())
        body = Body::strips;
    else
        mesh.ensure_faces();

    write_header(out, mesh, encoding, body, normals, colors_as_float);
    if (encoding == PlyEncoding::ascii)
        write_ascii_body(out, mesh, body, normals, colors_as_float);
    else
        write_binary_body(out, mesh, encoding, body, normals, colors_as_float);
    return out.flush();
}
