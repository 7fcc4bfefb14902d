// Neighbour-average smoothing steps and their alternating rounds.

#include "taubin.h"

#include <vector>

#include "shape_filter_support.h"

namespace {

// One step with the vector from each vertex to the mean of its neighbours,
// computed into `delta` (scratch, kept by the caller between steps) before any
// vertex moves. `fixed` marks the vertices that stay.
void average_step(TriMesh &mesh, float lambda, const std::vector<bool> &fixed,
                  std::vector<Point3> &delta)
{
    const size_t nv = mesh.vertices.size();
    const std::vector<std::vector<int>> &neighbors = mesh.vertex_neighbors;
    delta.assign(nv, Point3());
    for (size_t v = 0; v < nv && v < neighbors.size(); v++) {
        if (fixed[v] || neighbors[v].empty())
            continue;
        Point3 sum;
        for (const int j : neighbors[v])
            sum += mesh.vertices[j];
        delta[v] = sum / float(neighbors[v].size()) - mesh.vertices[v];
    }
    for (size_t v = 0; v < nv; v++)
        mesh.vertices[v] += lambda * delta[v];
}

// Boundary marks of every vertex; builds the adjacency the steps read.
std::vector<bool> boundary_vertices(TriMesh &mesh)
{
    mesh.ensure_vertex_neighbors();
    mesh.ensure_vertex_faces();
    std::vector<bool> fixed(mesh.vertices.size());
    for (size_t v = 0; v < fixed.size(); v++)
        fixed[v] = mesh.is_boundary(int(v));
    return fixed;
}

void clear_moved(TriMesh &mesh)
{
    mesh.clear_normals();
    clear_shape_data(mesh);
}

} // namespace

void neighbour_average_step(TriMesh &mesh, float lambda)
{
    const std::vector<bool> fixed = boundary_vertices(mesh);
    std::vector<Point3> delta;
    average_step(mesh, lambda, fixed, delta);
    clear_moved(mesh);
}

void taubin_smooth(TriMesh &mesh, int n)
{
    const std::vector<bool> fixed = boundary_vertices(mesh);
    progress_printf("Smoothing mesh... ");
    std::vector<Point3> delta;
    for (int round = 0; round < n; round++) {
        average_step(mesh, 0.33f, fixed, delta);
        average_step(mesh, -0.331f, fixed, delta);
    }
    progress_printf("Done.\n");
    if (n > 0)
        clear_moved(mesh);
}
