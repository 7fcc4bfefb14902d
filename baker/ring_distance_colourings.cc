// Ring distances by repeated relaxation over the vertex neighbours.

#include "ring_distance_colourings.h"

#include <vector>

namespace {

bool usable_rings(const char *operation, int rings)
{
    if (rings >= 0)
        return true;
    error_printf("%s: rings %d cannot be used (it must be 0 or more).\n", operation, rings);
    return false;
}

// Runs `rings` passes over the vertices in index order, each lowering a
// vertex's count to one more than a neighbour's where that is less, with the
// changes visible at once; then colours by the counts. The marks hold the
// starting counts: 0 at the start, rings + 1 elsewhere. A pass that changes
// nothing ends the passes early, as the rest would change nothing either.
void relax_and_colour(TriMesh &mesh, int rings)
{
    std::vector<uint32_t> &mark = mesh.visit_marks;
    const std::vector<std::vector<int>> &neighbors = mesh.vertex_neighbors;
    for (int pass = 0; pass < rings; pass++) {
        bool changed = false;
        for (size_t i = 0; i < neighbors.size(); i++)
            for (const int j : neighbors[i])
                if (mark[j] + 1 < mark[i]) {
                    mark[i] = mark[j] + 1;
                    changed = true;
                }
        if (!changed)
            break;
    }
    const float beyond = float(uint32_t(rings) + 1);
    for (size_t i = 0; i < mesh.colors.size(); i++) {
        const float m = float(mark[i]) / beyond;
        mesh.colors[i] = Color(1.0f, m, m);
    }
}

} // namespace

bool bake_boundary_distance(TriMesh &mesh, int rings)
{
    if (!usable_rings("bdy", rings))
        return false;
    mesh.ensure_vertex_neighbors();
    const size_t nv = mesh.vertices.size();
    mesh.visit_marks.resize(nv);
    for (size_t i = 0; i < nv; i++)
        mesh.visit_marks[i] = mesh.is_boundary(int(i)) ? 0 : uint32_t(rings) + 1;
    relax_and_colour(mesh, rings);
    return true;
}

bool bake_vertex_distance(TriMesh &mesh, int vertex, int rings)
{
    if (!usable_rings("findv", rings))
        return false;
    const size_t nv = mesh.vertices.size();
    if (vertex < 0 || size_t(vertex) >= nv) {
        error_printf("findv: vertex %d is not in the mesh, which has %zu vertices.\n", vertex, nv);
        return false;
    }
    mesh.ensure_vertex_neighbors();
    mesh.visit_marks.assign(nv, uint32_t(rings) + 1);
    mesh.visit_marks[size_t(vertex)] = 0;
    relax_and_colour(mesh, rings);
    return true;
}
