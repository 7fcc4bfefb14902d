#include "bake_test_support.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>

TriMesh make_icosphere(int levels, float radius)
{
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    TriMesh mesh;
    mesh.vertices = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                     {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    mesh.faces = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                  {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                  {3, 8, 9},  {4, 9, 5},  {2, 4, 11},  {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int level = 0; level < levels; level++) {
        std::map<std::pair<int, int>, int> midpoints;
        const auto midpoint = [&](int a, int b) {
            const auto key = std::minmax(a, b);
            const auto [it, added] = midpoints.emplace(key, int(mesh.vertices.size()));
            if (added)
                mesh.vertices.push_back((mesh.vertices[a] + mesh.vertices[b]) * 0.5f);
            return it->second;
        };
        std::vector<Face> split;
        for (const Face &f : mesh.faces) {
            const int ab = midpoint(f[0], f[1]), bc = midpoint(f[1], f[2]), ca = midpoint(f[2], f[0]);
            split.insert(split.end(), {{f[0], ab, ca}, {f[1], bc, ab}, {f[2], ca, bc}, {ab, bc, ca}});
        }
        mesh.faces = std::move(split);
    }
    for (Point3 &p : mesh.vertices)
        p *= radius / len(p);
    return mesh;
}

TriMesh make_quadric_patch(int n, float a, float b)
{
    TriMesh mesh = make_grid_mesh(n);
    const float centre = float(n - 1) / 2.0f;
    for (Point3 &p : mesh.vertices) {
        p.x -= centre;
        p.y -= centre;
        p.z = a * p.x * p.x + b * p.y * p.y;
    }
    return mesh;
}

void make_feature_size_one(TriMesh &mesh)
{
    const size_t nv = mesh.vertices.size();
    mesh.principal_curv1.assign(nv, 0.01f);
    mesh.principal_curv2.assign(nv, 0.01f);
    mesh.principal_dir1.assign(nv, Point3(1, 0, 0));
    mesh.principal_dir2.assign(nv, Point3(0, 1, 0));
}

void size_colours(TriMesh &mesh) { mesh.colors.assign(mesh.vertices.size(), Color()); }

ProcessResult bake(const std::vector<std::string> &args)
{
    setenv("POLMERA_NO_VIEWER", "1", 1);
    return run_program("bake", args);
}

const std::string bake_banner = "\n\n\n\n===============================================\n"
                                "Vertex Color Baker : Arkwell\n"
                                "===============================================\n\n\n";

bool near(const Color &actual, const Color &expected, float tolerance)
{
    for (int k = 0; k < 3; k++)
        if (!(std::abs(actual[k] - expected[k]) <= tolerance))
            return false;
    return true;
}
