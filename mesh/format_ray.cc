// The ray-tracer scene format: a camera and material preamble, "#vertex"
// records with normals, and "#shape_triangle" records.

#include <strings.h>

#include "formats.h"
#include "mesh_text.h"

bool read_ray(InputStream &in, TriMesh &mesh)
{
    for (;;) {
        const std::string token = in.read_word(1024);
        if (token.empty())
            return true;
        // "#vertex_num" announces the count; it is not a vertex.
        if (strncasecmp(token.c_str(), "#vertex", 7) == 0 &&
            strncasecmp(token.c_str(), "#vertex_num", 11) != 0) {
            Point3 p;
            if (!in.read_float(p.x) || !in.read_float(p.y) || !in.read_float(p.z))
                return false;
            mesh.vertices.push_back(p);
        } else if (strncasecmp(token.c_str(), "#shape_triangle", 15) == 0) {
            int material, a, b, c;
            if (!in.read_int(material) || !in.read_int(a) || !in.read_int(b) || !in.read_int(c))
                return false;
            mesh.faces.emplace_back(a, b, c);
        }
    }
}

bool write_ray(OutputStream &out, TriMesh &mesh)
{
    out.puts("#camera 0 0 1 0 0 -1 0 1 0 0.2\n#background 0 0 0\n#ambient 0 0 0\n"
             "#material_num 1\n#material 0 0 0  1 1 1  0 0 0  0 0 0  0 0 1  -1  !!\n");
    out.printf("#vertex_num %lu\n", (unsigned long)mesh.vertices.size());
    mesh.ensure_normals();
    write_vertex_lines(mesh, out, "#vertex ", "  ", nullptr, false, nullptr, "  0 0");
    mesh.ensure_faces();
    write_face_lines(mesh, out, "#shape_triangle 0  ", 0, "");
    return out.flush();
}
