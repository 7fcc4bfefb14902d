// Offset surface and random noise.

#include "displace.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "shape_filter_support.h"

namespace {

// The noise sequence: a 32-bit linear congruential generator of its own,
// apart from the feature-size sample sequence, starting at 0 in each process.
uint32_t noise_state = 0;

// The next draw, in [0, 1].
float next_noise()
{
    noise_state = noise_state * 1664525u + 1013904223u;
    return float(noise_state) / 4294967296.0f;
}

} // namespace

void offset_along_normals(TriMesh &mesh, float distance)
{
    if (!std::isfinite(distance)) {
        error_printf("Offset surface: distance %g cannot be used; the mesh is unchanged.\n",
                     double(distance));
        return;
    }
    mesh.ensure_normals();
    progress_printf("Creating offset surface... ");
    for (size_t v = 0; v < mesh.vertices.size(); v++)
        mesh.vertices[v] += mesh.normals[v] * distance;
    progress_printf("Done.\n");
    clear_shape_data(mesh);
}

void noise_displace(TriMesh &mesh, float amplitude)
{
    if (!usable_width(amplitude, "Noise", "amplitude"))
        return;
    const float s = amplitude;
    mesh.ensure_normals();
    mesh.ensure_vertex_neighbors();
    const size_t nv = mesh.vertices.size();
    const std::vector<std::vector<int>> &neighbors = mesh.vertex_neighbors;
    std::vector<Point3> disp(nv);
    for (size_t v = 0; v < nv; v++) {
        if (v < neighbors.size() && !neighbors[v].empty()) {
            for (const int j : neighbors[v]) {
                const float r = next_noise();
                const Point3 d = mesh.vertices[j] - mesh.vertices[v];
                disp[v] += d * (s / (len(d) + s)) * r;
            }
            disp[v] /= float(neighbors[v].size());
        }
        const float r = next_noise();
        disp[v] += mesh.normals[v] * s * (2.0f * r - 1.0f);
    }
    for (size_t v = 0; v < nv; v++)
        mesh.vertices[v] += disp[v];
    mesh.clear_normals();
    clear_shape_data(mesh);
}
