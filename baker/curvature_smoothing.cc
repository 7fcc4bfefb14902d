// Curvature smoothing: a flood fill from every vertex over its neighbours that
// stops where the Gaussian weight becomes 0 or the normals turn away, summing
// the curvature tensors re-expressed in the vertex's own frame.
//
// The fills read each reached vertex's position, normal, area, frame and
// curvatures; these are copied once into one record per vertex, and the
// neighbour lists into one array, so that a vertex costs one cache line
// instead of eight.

#include "curvature_smoothing.h"

#include <cmath>
#include <vector>

#include "curvature.h"
#include "parallel.h"

namespace {

// What a fill reads of one vertex.
struct FillVertex {
    Point3 position, normal, dir1, dir2;
    float area, k1, k2;
};

// A curvature tensor (ku, kuv, kv) in some frame.
struct Tensor {
    float ku = 0, kuv = 0, kv = 0;
};

// The mesh as the fills read it: vertex records and the neighbour lists end to
// end (vertex i's neighbours at starts[i] .. starts[i + 1]).
struct FillMesh {
    std::vector<FillVertex> vertices;
    std::vector<size_t> starts;
    std::vector<int> neighbours;

    explicit FillMesh(const TriMesh &mesh)
    {
        const size_t nv = mesh.vertices.size();
        vertices.resize(nv);
        for (size_t i = 0; i < nv; i++)
            vertices[i] = {mesh.vertices[i],       mesh.normals[i],         mesh.principal_dir1[i],
                           mesh.principal_dir2[i], mesh.point_areas[i],     mesh.principal_curv1[i],
                           mesh.principal_curv2[i]};
        starts.assign(nv + 1, 0);
        for (size_t i = 0; i < nv && i < mesh.vertex_neighbors.size(); i++)
            starts[i + 1] = mesh.vertex_neighbors[i].size();
        for (size_t i = 0; i < nv; i++)
            starts[i + 1] += starts[i];
        neighbours.reserve(starts[nv]);
        for (size_t i = 0; i < nv && i < mesh.vertex_neighbors.size(); i++)
            neighbours.insert(neighbours.end(), mesh.vertex_neighbors[i].begin(), mesh.vertex_neighbors[i].end());
    }

    const int *begin(size_t i) const { return neighbours.data() + starts[i]; }
    const int *end(size_t i) const { return neighbours.data() + starts[i + 1]; }
};

// Vertex v's principal curvatures re-expressed in the frame (u, v).
Tensor tensor_in_frame(const FillVertex &v, const Point3 &u, const Point3 &w)
{
    Tensor t;
    project_curvature(v.dir1, v.dir2, v.k1, 0.0f, v.k2, u, w, t.ku, t.kuv, t.kv);
    return t;
}

// What one flood fill needs besides the mesh: its own marks (so that fills on
// other threads do not disturb it) and a stack kept between fills.
struct FillScratch {
    std::vector<uint32_t> marks;
    uint32_t stamp = 0;
    std::vector<int> stack;
};

// The Gaussian-weighted average tensor around vertex i, in i's frame.
Tensor smoothed_tensor(const FillMesh &mesh, size_t i, float w2, FillScratch &fill)
{
    const FillVertex &centre = mesh.vertices[i];
    const Tensor own = tensor_in_frame(centre, centre.dir1, centre.dir2);
    if (mesh.begin(i) == mesh.end(i))
        return own;
    Tensor sum{own.ku * centre.area, own.kuv * centre.area, own.kv * centre.area};
    float total = centre.area;

    const uint32_t stamp = ++fill.stamp;
    uint32_t *marks = fill.marks.data();
    marks[i] = stamp;
    fill.stack.assign(mesh.begin(i), mesh.end(i));
    while (!fill.stack.empty()) {
        const int j = fill.stack.back();
        fill.stack.pop_back();
        if (marks[j] == stamp)
            continue;
        marks[j] = stamp;
        const FillVertex &reached = mesh.vertices[j];
        const float c = dot(centre.normal, reached.normal);
        if (!(c > 0.0f))
            continue;
        // Zero from three standard deviations on; also when d^2 * w2 is not a
        // number (a zero distance with an endless w2).
        const float d2w = dist2(centre.position, reached.position) * w2;
        const float g = d2w < 9.0f ? std::exp(-0.5f * d2w) : 0.0f;
        if (g == 0.0f)
            continue;
        const float weight = g * c * reached.area;
        const Tensor t = tensor_in_frame(reached, centre.dir1, centre.dir2);
        sum.ku += weight * t.ku;
        sum.kuv += weight * t.kuv;
        sum.kv += weight * t.kv;
        total += weight;
        for (const int *k = mesh.begin(size_t(j)); k != mesh.end(size_t(j)); k++)
            if (marks[*k] != stamp)
                fill.stack.push_back(*k);
    }
    if (!(total > 0.0f))
        return own;
    return {sum.ku / total, sum.kuv / total, sum.kv / total};
}

} // namespace

void smooth_curvatures(TriMesh &mesh, float sigma)
{
    mesh.ensure_normals();
    mesh.ensure_point_areas();
    mesh.ensure_curvatures();
    mesh.ensure_vertex_neighbors();
    progress_printf("\rSmoothing curvatures... ");
    const uint64_t start = now_ticks();
    const float w2 = 1.0f / (sigma * sigma);
    const size_t nv = mesh.vertices.size();

    const FillMesh fill_mesh(mesh);
    std::vector<Tensor> smoothed(nv);
    for_each_part(nv, 4096, [&](size_t begin, size_t end) {
        FillScratch fill;
        fill.marks.assign(nv, 0);
        for (size_t i = begin; i < end; i++)
            smoothed[i] = smoothed_tensor(fill_mesh, i, w2, fill);
    });
    for (size_t i = 0; i < nv; i++)
        diagonalize_curvature(mesh.principal_dir1[i], mesh.principal_dir2[i], smoothed[i].ku,
                              smoothed[i].kuv, smoothed[i].kv, mesh.normals[i], mesh.principal_dir1[i],
                              mesh.principal_dir2[i], mesh.principal_curv1[i], mesh.principal_curv2[i]);
    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
}
