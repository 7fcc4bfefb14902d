// Times the hole filling on a sphere of about a million triangles with twenty
// holes of various sizes, and prints what was added.
// Usage: hole_bench [rings segments]   (default 500 x 1000)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "fill_holes.h"
#include "remove.h"
#include "tool_mesh.h"

namespace {

TriMesh sphere(int rings, int segments)
{
    TriMesh m;
    m.vertices.emplace_back(0, 0, 1);
    for (int r = 1; r < rings; r++)
        for (int s = 0; s < segments; s++) {
            const double theta = std::numbers::pi * r / rings, phi = 2 * std::numbers::pi * s / segments;
            m.vertices.emplace_back(float(std::sin(theta) * std::cos(phi)), float(std::sin(theta) * std::sin(phi)),
                                    float(std::cos(theta)));
        }
    m.vertices.emplace_back(0, 0, -1);
    const int south = int(m.vertices.size()) - 1;
    auto at = [segments](int r, int s) { return 1 + (r - 1) * segments + s % segments; };
    for (int s = 0; s < segments; s++) {
        m.faces.emplace_back(0, at(1, s), at(1, s + 1));
        m.faces.emplace_back(south, at(rings - 1, s + 1), at(rings - 1, s));
        for (int r = 1; r + 1 < rings; r++) {
            m.faces.emplace_back(at(r, s), at(r + 1, s), at(r + 1, s + 1));
            m.faces.emplace_back(at(r, s), at(r + 1, s + 1), at(r, s + 1));
        }
    }
    return m;
}

// Twenty holes around points spread over the sphere, radii from 0.02 to 0.2.
void cut_twenty_holes(TriMesh &m)
{
    std::vector<bool> marks(m.faces.size(), false);
    for (int i = 0; i < 20; i++) {
        const double z = 1 - (i + 0.5) / 10, r = std::sqrt(1 - z * z), phi = i * 2.39996;
        const Point3 c(float(r * std::cos(phi)), float(r * std::sin(phi)), float(z));
        const float radius = 0.02f + 0.18f * float(i % 5) / 4;
        for (size_t f = 0; f < m.faces.size(); f++)
            for (int j = 0; j < 3; j++)
                marks[f] = marks[f] || dist2(m.vertices[m.faces[f][j]], c) < radius * radius;
    }
    delete_faces(m, marks);
    remove_unused_vertices(m);
    keep_faces_only(m);
}

} // namespace

int main(int argc, char **argv)
{
    const int rings = argc == 3 ? std::atoi(argv[1]) : 500, segments = argc == 3 ? std::atoi(argv[2]) : 1000;
    TriMesh m = sphere(rings, segments);
    cut_twenty_holes(m);
    const size_t faces = m.faces.size(), old_vertices = m.vertices.size();
    const uint64_t start = now_ticks();
    const HoleFillReport r = fill_holes(m);
    const float seconds = elapsed_seconds(start, now_ticks());
    // How well the patches follow the sphere: the added vertices' distance from it.
    float worst = 0;
    for (size_t v = old_vertices; v < m.vertices.size(); v++)
        worst = std::max(worst, std::abs(len(m.vertices[v]) - 1));
    std::printf("\nsphere of %zu triangles with holes: %d filled, %d skipped, %d vertices and %d faces added "
                "in %.3f s; added vertices at most %.4f off the sphere\n",
                faces, r.filled, r.skipped, r.added_vertices, r.added_faces, seconds, worst);
    return 0;
}
