#include "shape_meshes.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "subdivide.h"

TriMesh make_torus(int rings, int sides, float major, float minor)
{
    TriMesh mesh;
    for (int i = 0; i < rings; i++)
        for (int j = 0; j < sides; j++) {
            const double u = 2 * std::numbers::pi * i / rings, v = 2 * std::numbers::pi * j / sides;
            const double r = major + minor * std::cos(v);
            mesh.vertices.emplace_back(float(r * std::cos(u)), float(r * std::sin(u)),
                                       float(minor * std::sin(v)));
        }
    for (int i = 0; i < rings; i++)
        for (int j = 0; j < sides; j++) {
            const int a = i * sides + j, b = ((i + 1) % rings) * sides + j;
            const int c = ((i + 1) % rings) * sides + (j + 1) % sides,
                      d = i * sides + (j + 1) % sides;
            mesh.faces.emplace_back(a, b, c);
            mesh.faces.emplace_back(a, c, d);
        }
    return mesh;
}

TriMesh make_octahedron()
{
    TriMesh mesh;
    mesh.vertices = {Point3(1, 0, 0),  Point3(-1, 0, 0), Point3(0, 1, 0),
                     Point3(0, -1, 0), Point3(0, 0, 1),  Point3(0, 0, -1)};
    mesh.faces = {Face(0, 2, 4), Face(2, 1, 4), Face(1, 3, 4), Face(3, 0, 4),
                  Face(2, 0, 5), Face(1, 2, 5), Face(3, 1, 5), Face(0, 3, 5)};
    return mesh;
}

TriMesh make_sphere(int levels)
{
    TriMesh mesh = make_octahedron();
    for (int l = 0; l < levels; l++) {
        subdivide(mesh, SubdivScheme::midpoint);
        for (Point3 &p : mesh.vertices)
            p /= len(p);
    }
    return mesh;
}

void roughen(TriMesh &mesh, float amount)
{
    uint32_t state = 12345;
    for (Point3 &p : mesh.vertices) {
        state = state * 1103515245u + 12345u;
        const float r = float(state >> 8) / float(1 << 24) * 2.0f - 1.0f;
        const float l = len(p);
        if (l > 0.0f)
            p *= (l + amount * r) / l;
    }
}

double radial_spread(const TriMesh &mesh)
{
    double sum = 0, sum2 = 0;
    for (const Point3 &p : mesh.vertices) {
        const double r = len(p);
        sum += r;
        sum2 += r * r;
    }
    const double n = double(mesh.vertices.size());
    return sum2 / n - (sum / n) * (sum / n);
}

double enclosed_volume(const TriMesh &mesh)
{
    double volume = 0;
    for (const Face &f : mesh.faces)
        volume += dot(mesh.vertices[f[0]], cross(mesh.vertices[f[1]], mesh.vertices[f[2]])) / 6.0;
    return volume;
}

bool all_finite(const TriMesh &mesh)
{
    for (const Point3 &p : mesh.vertices)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return false;
    return true;
}

int run_surface_option(TriMesh &mesh, const std::string &name, std::vector<std::string> args)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    FilterRun run{mesh};
    for (const Option &option : surface_options())
        for (std::string_view n : option.names)
            if (n == name)
                return option.apply(run, OptionArgs(argv.data(), argv.size()));
    throw std::runtime_error("no option " + name);
}
