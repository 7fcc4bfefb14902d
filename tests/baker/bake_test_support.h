#pragma once
// Meshes and helpers shared by the baker's tests.

#include <cmath>
#include <cstdlib>
#include <ostream>

#include "test_support.h"

// One black colour per vertex, as the driver sizes the colours.
inline TriMesh coloured(TriMesh mesh)
{
    mesh.colors.assign(mesh.vertices.size(), Color());
    return mesh;
}

// make_grid_mesh(n) centred on the origin and lifted to z = a x^2 + b y^2.
inline TriMesh quadric_patch(int n, float a, float b)
{
    TriMesh mesh = make_grid_mesh(n);
    for (Point3 &p : mesh.vertices) {
        p.x -= float(n - 1) / 2, p.y -= float(n - 1) / 2;
        p.z = a * p.x * p.x + b * p.y * p.y;
    }
    return coloured(mesh);
}

// Principal curvatures of 0.01 everywhere: curvature_feature_size() is then 1.
inline void make_feature_size_one(TriMesh &mesh)
{
    mesh.principal_curv1.assign(mesh.vertices.size(), 0.01f);
    mesh.principal_curv2 = mesh.principal_curv1;
}

// The bake program run as a process, with its viewer switched off.
inline ProcessResult bake(const std::vector<std::string> &args)
{
    setenv("POLMERA_NO_VIEWER", "1", 1);
    return run_program("bake", args);
}

inline const std::string bake_banner = "\n\n\n\n===============================================\n"
                                       "Vertex Color Baker : Arkwell\n"
                                       "===============================================\n\n\n";

// Each component within `tolerance`; and how GoogleTest shows a colour.
inline bool near(const Color &a, const Color &b, float tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}
inline void PrintTo(const Color &c, std::ostream *os) { *os << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }
