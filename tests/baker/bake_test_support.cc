#include "bake_test_support.h"

#include <cmath>
#include <cstdlib>

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
