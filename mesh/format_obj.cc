// Wavefront OBJ: positions and polygons; everything else in the file is ignored.

#include <cstring>

#include "formats.h"
#include "mesh_text.h"

namespace {

constexpr size_t line_size = 1024;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_space(char c) { return is_blank(c) || (c >= '\n' && c <= '\r'); }

// Begins with the letter `key` (either case) followed by a blank.
bool keyword(const char *line, char key)
{
    return (line[0] | 0x20) == key && is_blank(line[1]);
}

const char *skip_space(const char *p, const char *end)
{
    while (p != end && is_space(*p))
        p++;
    return p;
}

bool read_position(const char *p, const char *end, TriMesh &mesh)
{
    Point3 v;
    for (int k = 0; k < 3; k++) {
        p = skip_space(p, end);
        const size_t n = parse_float_prefix(p, end, v[k]);
        if (n == 0)
            return false;
        p += n;
    }
    mesh.vertices.push_back(v);
    return true;
}

// Each word's leading integer is a vertex (7/3/2 gives 7); the first word that
// does not start with one ends the polygon. 1-based or negative (relative).
void read_polygon(const char *p, const char *end, TriMesh &mesh, std::vector<int> &polygon)
{
    polygon.clear();
    const int nv = int(mesh.vertices.size());
    for (;;) {
        p = skip_space(p, end);
        int i = 0;
        const size_t n = parse_int_prefix(p, end, i);
        if (n == 0)
            break;
        polygon.push_back(i < 0 ? i + nv : i - 1);
        p += n;
        while (p != end && !is_space(*p))
            p++;
    }
    add_polygon(mesh, polygon);
}

} // namespace

bool read_obj(InputStream &in, TriMesh &mesh)
{
    char line[line_size];
    std::vector<int> polygon;
    in.skip_comment_lines();
    while (!in.at_end()) {
        const size_t n = in.read_line(line, sizeof line);
        if (n == 0)
            return false;
        const char *end = line + n;
        if (keyword(line, 'v')) {
            if (!read_position(line + 1, end, mesh))
                return false;
        } else if (keyword(line, 'f') || keyword(line, 't')) {
            read_polygon(line + 2, end, mesh, polygon);
        }
        in.skip_comment_lines();
    }
    return true;
}

bool write_obj(OutputStream &out, TriMesh &mesh)
{
    mesh.ensure_faces();
    out.puts("# OBJ\n");
    write_vertex_lines(mesh, out, "v ", nullptr, nullptr, false, nullptr, "");
    write_face_lines(mesh, out, "f ", 1, "");
    return out.flush();
}
