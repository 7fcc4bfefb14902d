// OFF and the count-first format: counts, then positions, then polygons.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "formats.h"
#include "mesh_text.h"
#include "ply_layout.h"

namespace {

// Face records of OFF: a count, then that many indices; anything after them on
// the line (a colour, say) is skipped.
FaceLayout off_faces()
{
    FaceLayout layout;
    PlyProperty list;
    list.is_list = true;
    list.type = PlyType::int32;
    layout.properties.push_back(list);
    layout.indices = 0;
    layout.skip_line_rest = true;
    return layout;
}

// Face records of the count-first format: exactly three indices.
FaceLayout triangle_faces()
{
    FaceLayout layout;
    PlyProperty list;
    list.is_list = true;
    list.type = PlyType::int32;
    list.fixed_count = 3;
    layout.properties.push_back(list);
    layout.indices = 0;
    return layout;
}

} // namespace

bool read_off(InputStream &in, TriMesh &mesh)
{
    in.skip_comment_lines();
    char line[1024];
    int nv = 0, nf = 0, ne = 0;
    if (!in.read_line(line, sizeof line) || std::sscanf(line, "%d %d %d", &nv, &nf, &ne) < 2)
        return false;
    return read_ascii_vertices(in, mesh, nv, position_only_layout()) &&
           read_ascii_faces(in, mesh, nf, off_faces());
}

bool write_off(OutputStream &out, TriMesh &mesh)
{
    mesh.ensure_faces();
    out.printf("OFF\n%lu %lu 0\n", (unsigned long)mesh.vertices.size(),
               (unsigned long)mesh.faces.size());
    write_vertex_lines(mesh, out, "", nullptr, nullptr, false, nullptr, "");
    write_face_lines(mesh, out, "3 ", 0, "");
    return out.flush();
}

bool read_count_first(InputStream &in, TriMesh &mesh)
{
    int nv = 0, nf = 0;
    if (!in.read_int(nv) || !read_ascii_vertices(in, mesh, nv, position_only_layout()))
        return false;
    in.skip_comment_lines();
    if (!in.read_int(nf))
        return true;
    return read_ascii_faces(in, mesh, nf, triangle_faces());
}

bool write_count_first(OutputStream &out, TriMesh &mesh)
{
    mesh.ensure_faces();
    out.printf("%lu\n", (unsigned long)mesh.vertices.size());
    write_vertex_lines(mesh, out, "", nullptr, nullptr, false, nullptr, "");
    out.printf("%lu\n", (unsigned long)mesh.faces.size());
    write_face_lines(mesh, out, "", 0, "");
    out.puts("0 0\n");
    return out.flush();
}

namespace {

struct OffVariant {
    bool texture = false, colors = false, normals = false, homogeneous = false;
};

bool take(std::string_view &word, std::string_view letters)
{
    if (word.substr(0, letters.size()) != letters)
        return false;
    word.remove_prefix(letters.size());
    return true;
}

bool parse_variant(const std::string &magic, OffVariant &v)
{
    std::string_view w = magic;
    v.texture = take(w, "ST");
    v.colors = take(w, "C");
    v.normals = take(w, "N");
    v.homogeneous = take(w, "4");
    return w == "OFF";
}

// One vertex line: position (divided by w when homogeneous), then normal,
// colour and texture coordinates as the variant has them.
bool read_variant_vertex(InputStream &in, TriMesh &mesh, const OffVariant &v, float &color_max)
{
    char line[1024];
    in.skip_comment_lines();
    if (!in.read_line(line, sizeof line))
        return false;
    float values[16];
    int n = 0;
    const char *p = line, *end = line + std::strlen(line);
    for (; n < 16; n++) {
        while (p != end && std::isspace((unsigned char)*p))
            p++;
        const size_t used = parse_float_prefix(p, end, values[n]);
        if (used == 0)
            break;
        p += used;
    }
    const int position = v.homogeneous ? 4 : 3, normal = v.normals ? 3 : 0, texture = v.texture ? 2 : 0;
    const int color = n - position - normal - texture;
    if (color < (v.colors ? 3 : 0) || color > (v.colors ? 4 : 0))
        return false;
    Point3 pos(values[0], values[1], values[2]);
    if (v.homogeneous && values[3] != 0.0f)
        pos /= values[3];
    mesh.vertices.push_back(pos);
    if (v.normals)
        mesh.normals.emplace_back(values[position], values[position + 1], values[position + 2]);
    if (v.colors) {
        const float *c = values + position + normal;
        mesh.colors.emplace_back(c[0], c[1], c[2]);
        color_max = std::max({color_max, c[0], c[1], c[2]});
    }
    return true;
}

} // namespace

bool is_off_variant(const std::string &magic)
{
    OffVariant v;
    return parse_variant(magic, v);
}

bool read_off_variant(InputStream &in, TriMesh &mesh, const std::string &magic)
{
    OffVariant v;
    if (!parse_variant(magic, v) || in.read_word(magic.size()) != magic)
        return false;
    in.skip_comment_lines();
    char line[1024];
    int nv = 0, nf = 0, ne = 0;
    if (!in.read_line(line, sizeof line) || std::sscanf(line, "%d %d %d", &nv, &nf, &ne) < 2 || nv <= 0)
        return false;
    progress_printf("\n  Reading %d vertices... ", nv);
    const size_t first = mesh.vertices.size();
    float color_max = 0.0f;
    for (int i = 0; i < nv; i++)
        if (!read_variant_vertex(in, mesh, v, color_max))
            return false;
    // Colours are bytes when any component exceeds 1, else floats 0..1.
    if (color_max > 1.0f)
        for (size_t i = first; i < mesh.colors.size(); i++)
            for (int k = 0; k < 3; k++)
                mesh.colors[i][k] /= 255.0f;
    return read_ascii_faces(in, mesh, nf, off_faces());
}
