#include "mesh_text.h"

#include <cmath>

void add_polygon(TriMesh &mesh, std::span<const int> idx)
{
    const size_t n = idx.size();
    if (n < 3)
        return;
    if (n == 3) {
        mesh.faces.emplace_back(idx[0], idx[1], idx[2]);
        return;
    }
    if (n == 4) {
        // The positions are only looked at when all four indices are valid;
        // otherwise the quad is split as on a tie, and the reader rejects it.
        const int nv = int(mesh.vertices.size());
        bool valid = true;
        for (int i : idx)
            valid = valid && i >= 0 && i < nv;
        const auto p = [&](int k) { return mesh.vertices[idx[k]]; };
        if (!valid || dist2(p(3), p(1)) <= dist2(p(2), p(0))) {
            mesh.faces.emplace_back(idx[1], idx[2], idx[3]);
            mesh.faces.emplace_back(idx[1], idx[3], idx[0]);
        } else {
            mesh.faces.emplace_back(idx[0], idx[1], idx[2]);
            mesh.faces.emplace_back(idx[0], idx[2], idx[3]);
        }
        return;
    }
    for (size_t k = 1; k + 1 < n; k++)
        mesh.faces.emplace_back(idx[0], idx[k], idx[k + 1]);
}

unsigned char color_to_byte(float c)
{
    const float v = c * 255.0f + 0.5f;
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<unsigned char>(v);
}

namespace {

void write_triple(OutputStream &out, float a, float b, float c)
{
    out.write_float(a);
    out.put(' ');
    out.write_float(b);
    out.put(' ');
    out.write_float(c);
}

} // namespace

void write_vertex_lines(const TriMesh &mesh, OutputStream &out, const char *prefix,
                        const char *normal_sep, const char *color_sep, bool colors_as_float,
                        const char *conf_sep, const char *suffix)
{
    const bool normals = normal_sep && !mesh.normals.empty();
    const bool colors = color_sep && !mesh.colors.empty();
    const bool confs = conf_sep && !mesh.confidences.empty();
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        out.puts(prefix);
        const Point3 &p = mesh.vertices[i];
        write_triple(out, p.x, p.y, p.z);
        if (normals) {
            out.puts(normal_sep);
            const Point3 &n = mesh.normals[i];
            write_triple(out, n.x, n.y, n.z);
        }
        if (colors) {
            out.puts(color_sep);
            const Color &c = mesh.colors[i];
            if (colors_as_float) {
                write_triple(out, c.r, c.g, c.b);
            } else {
                out.write_int(color_to_byte(c.r));
                out.put(' ');
                out.write_int(color_to_byte(c.g));
                out.put(' ');
                out.write_int(color_to_byte(c.b));
            }
        }
        if (confs) {
            out.puts(conf_sep);
            out.write_float(mesh.confidences[i]);
        }
        out.puts(suffix);
        out.put('\n');
    }
}

void write_face_lines(const TriMesh &mesh, OutputStream &out, const char *prefix, int base,
                      const char *suffix)
{
    for (const Face &f : mesh.faces) {
        out.puts(prefix);
        out.write_int(f[0] + base);
        out.put(' ');
        out.write_int(f[1] + base);
        out.put(' ');
        out.write_int(f[2] + base);
        out.puts(suffix);
        out.put('\n');
    }
}
