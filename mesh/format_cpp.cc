// C++ source that rebuilds a mesh: static arrays and a make_<name>() function.

#include <functional>

#include "formats.h"
#include "mesh_text.h"

namespace {

void rows(OutputStream &out, const char *declaration, size_t count,
          const std::function<void(size_t)> &row)
{
    out.printf("\tstatic const %s[][3] = {\n", declaration);
    for (size_t i = 0; i < count; i++)
        row(i);
    out.puts("\t};\n");
}

void float_row(OutputStream &out, float a, float b, float c)
{
    out.printf("\t\t{ %.7g, %.7g, %.7g },\n", a, b, c);
}

void int_row(OutputStream &out, int a, int b, int c)
{
    out.printf("\t\t{ %d, %d, %d },\n", a, b, c);
}

} // namespace

bool write_cpp_source(OutputStream &out, TriMesh &mesh, const std::string &name,
                      bool emit_normals, bool colors_as_float)
{
    mesh.ensure_faces();
    if (emit_normals)
        mesh.ensure_normals();
    const bool colors = !mesh.colors.empty();
    const int nv = int(mesh.vertices.size()), nf = int(mesh.faces.size());

    out.printf("#include <string.h>\n#include \"TriMesh.h\"\n\nTriMesh *make_%s()\n{", name.c_str());
    rows(out, "float vertdata", mesh.vertices.size(), [&](size_t i) {
        const Point3 &p = mesh.vertices[i];
        float_row(out, p.x, p.y, p.z);
    });
    if (emit_normals)
        rows(out, "float normdata", mesh.normals.size(), [&](size_t i) {
            const Point3 &n = mesh.normals[i];
            float_row(out, n.x, n.y, n.z);
        });
    if (colors)
        rows(out, colors_as_float ? "float colordata" : "unsigned char colordata", mesh.colors.size(),
             [&](size_t i) {
                 const Color &c = mesh.colors[i];
                 if (colors_as_float)
                     float_row(out, c.r, c.g, c.b);
                 else
                     int_row(out, color_to_byte(c.r), color_to_byte(c.g), color_to_byte(c.b));
             });
    rows(out, "int facedata", mesh.faces.size(), [&](size_t i) {
        const Face &f = mesh.faces[i];
        int_row(out, f[0], f[1], f[2]);
    });
    out.printf("\n\tTriMesh *m = new TriMesh;\n\tm->vertices.resize(%d);\n"
               "\tmemcpy(&m->vertices[0][0], vertdata, sizeof(vertdata));\n", nv);
    if (colors)
        out.printf("\tm->colors.resize(%d);\n"
                   "\tmemcpy(&m->colors[0][0], colordata, sizeof(colordata));\n", nv);
    if (emit_normals)
        out.printf("\tm->normals.resize(%d);\n"
                   "\tmemcpy(&m->normals[0][0], normdata, sizeof(normdata));\n", nv);
    out.printf("\tm->faces.resize(%d);\n"
               "\tmemcpy(&m->faces[0][0], facedata, sizeof(facedata));\n\n\treturn m;\n}\n", nf);
    return out.flush();
}
