// Gaussian smoothing of normals and positions, and sharpening, by flood fills
// over the vertex neighbours that stop where the weight becomes 0.

#include "gaussian_smooth.h"

#include <cmath>
#include <limits>

#include "lineqn.h"
#include "shape_filter_support.h"

namespace {

// exp(-d2 / 2) without a cut-off; 0 when d2 is endless or not a number.
float gaussian_falloff(float d2)
{
    return d2 < std::numeric_limits<float>::infinity() ? std::exp(-0.5f * d2) : 0.0f;
}

// Makes current what vertex_filter reads.
void prepare_vertex_filter(TriMesh &mesh)
{
    mesh.ensure_normals();
    mesh.ensure_point_areas();
    mesh.ensure_vertex_neighbors();
    size_visit_marks(mesh, mesh.vertices.size());
}

// Adds to each vertex's displacement a pull towards the centres of its faces:
// half the way from the vertex to the centre, weighted by the Gaussian of that
// half-way vector and by the corner's share of the vertex's point area.
void add_face_pull(const TriMesh &mesh, float inv_sigma2, std::vector<Point3> &disp)
{
    for (size_t f = 0; f < mesh.faces.size(); f++) {
        const Face &face = mesh.faces[f];
        const Point3 centre =
            (mesh.vertices[face[0]] + mesh.vertices[face[1]] + mesh.vertices[face[2]]) / 3.0f;
        for (int k = 0; k < 3; k++) {
            const int u = face[k];
            const float area = mesh.point_areas[u];
            if (!(area > 0.0f))
                continue;
            const Point3 h = (centre - mesh.vertices[u]) / 2.0f;
            const float w = gaussian_falloff(inv_sigma2 * len2(h)) * mesh.corner_areas[f][k] / area;
            disp[u] += w * h;
        }
    }
}

} // namespace

float gaussian_weight(const Point3 &p, const Point3 &q, float inv_sigma2)
{
    const float d2 = dist2(p, q) * inv_sigma2;
    return d2 < 9.0f ? std::exp(-0.5f * d2) : 0.0f;
}

Point3 vertex_filter(TriMesh &mesh, const std::vector<Point3> &field, int v, float inv_sigma2,
                     std::vector<int> &stack)
{
    const std::vector<std::vector<int>> &neighbors = mesh.vertex_neighbors;
    if (size_t(v) >= neighbors.size() || neighbors[v].empty())
        return field[v];
    const Point3 &position = mesh.vertices[v], &normal = mesh.normals[v];
    Point3 sum = field[v] * mesh.point_areas[v];
    float total = mesh.point_areas[v];

    const uint32_t stamp = next_visit_stamp(mesh);
    uint32_t *marks = mesh.visit_marks.data();
    marks[v] = stamp;
    stack.assign(neighbors[v].begin(), neighbors[v].end());
    while (!stack.empty()) {
        const int j = stack.back();
        stack.pop_back();
        if (marks[j] == stamp)
            continue;
        marks[j] = stamp;
        const float c = dot(normal, mesh.normals[j]);
        if (!(c > 0.0f))
            continue;
        const float g = gaussian_weight(position, mesh.vertices[j], inv_sigma2);
        if (g == 0.0f)
            continue;
        const float w = g * c * mesh.point_areas[j];
        sum += w * field[j];
        total += w;
        for (const int k : neighbors[j])
            if (marks[k] != stamp)
                stack.push_back(k);
    }
    return total > 0.0f ? sum / total : field[v];
}

void normal_smooth(TriMesh &mesh, float sigma)
{
    if (!usable_width(sigma, "Smoothing normals"))
        return;
    prepare_vertex_filter(mesh);
    progress_printf("\rSmoothing normals... ");
    const uint64_t start = now_ticks();
    const float inv_sigma2 = 1.0f / (sigma * sigma);
    const size_t nv = mesh.vertices.size();
    std::vector<Point3> smoothed(nv);
    std::vector<int> stack;
    for (size_t v = 0; v < nv; v++) {
        smoothed[v] = vertex_filter(mesh, mesh.normals, int(v), inv_sigma2, stack);
        normalize(smoothed[v]);
    }
    mesh.normals.swap(smoothed);
    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
}

void gaussian_smooth(TriMesh &mesh, float sigma)
{
    if (!usable_width(sigma, "Smoothing"))
        return;
    mesh.ensure_faces();
    normal_smooth(mesh, sigma / 2.0f);
    prepare_vertex_filter(mesh);
    progress_printf("\rSmoothing... ");
    const uint64_t start = now_ticks();
    const float inv_sigma2 = 1.0f / (sigma * sigma);
    const size_t nv = mesh.vertices.size();
    std::vector<int> stack;

    std::vector<Point3> disp(nv);
    for (size_t v = 0; v < nv; v++)
        disp[v] = vertex_filter(mesh, mesh.vertices, int(v), inv_sigma2, stack) - mesh.vertices[v];
    add_face_pull(mesh, inv_sigma2, disp);

    // Moving by D minus its own filtered value keeps what is particular to each
    // vertex and drops what its surroundings share, which counters the
    // shrinking of plain Gaussian smoothing.
    std::vector<Point3> shared(nv);
    for (size_t v = 0; v < nv; v++)
        shared[v] = vertex_filter(mesh, disp, int(v), inv_sigma2, stack);
    for (size_t v = 0; v < nv; v++)
        mesh.vertices[v] += disp[v] - shared[v];

    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
    clear_shape_data(mesh);
}

void gaussian_sharpen(TriMesh &mesh, float sigma)
{
    if (!usable_width(sigma, "Sharpening"))
        return;
    const std::vector<Point3> old = mesh.vertices;
    gaussian_smooth(mesh, sigma);
    for (size_t v = 0; v < old.size(); v++) {
        const Point3 smooth = mesh.vertices[v];
        mesh.vertices[v] = smooth + 2.0f * (old[v] - smooth);
    }
}
