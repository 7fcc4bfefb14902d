// Curvature smoothing: a flood fill from every vertex over its neighbours that
// stops where the Gaussian weight becomes 0 or the normals turn away, summing
// the curvature tensors re-expressed in the vertex's own frame.
//
// The fills read each reached vertex's position, normal, area, frame and
// curvatures; these are copied once into one record per vertex, and the
// neighbour lists into one array, so that a vertex costs one cache line
// instead of nine.

#include "curvature_smoothing.h"

#include <cmath>
#include <vector>

#include "curvature.h"
#include "parallel.h"

namespace {

// What a fill reads of one vertex: its place, its area, and its curvature
// in its principal frame, with the frame's normal dir1 x dir2 worked out once.
struct FillVertex {
    Point3 position, normal, dir1, dir2, frame_normal;
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
        for_each_index(nv, 16384, [&](size_t i) {
            vertices[i] = {mesh.vertices[i],       mesh.normals[i],
                           mesh.principal_dir1[i], mesh.principal_dir2[i],
                           cross(mesh.principal_dir1[i], mesh.principal_dir2[i]),
                           mesh.point_areas[i],    mesh.principal_curv1[i],
                           mesh.principal_curv2[i]};
        });
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

// Vertex v's principal curvatures re-expressed in the principal frame of `to`.
Tensor tensor_in_frame(const FillVertex &v, const FillVertex &to)
{
    Tensor t;
    project_curvature(v.dir1, v.dir2, v.frame_normal, v.k1, 0.0f, v.k2, to.dir1, to.dir2, to.frame_normal, t.ku,
                      t.kuv, t.kv);
    return t;
}

// The vertices that one fill took in, in the order reached, with their
// weights, and their frames and curvatures copied one array per component, so
// that the projections into the centre's frame run several at a time (each
// lane does the scalar arithmetic of project_curvature). The arrays only grow,
// and hold `count` entries in use.
struct Reached {
    size_t count = 0;
    std::vector<int> index;
    std::vector<float> weight, d1x, d1y, d1z, d2x, d2y, d2z, nx, ny, nz, k1, k2, ku, kuv, kv;

    void add(int j, float w)
    {
        if (count == index.size()) {
            const size_t size = 2 * count + 64;
            index.resize(size);
            for (std::vector<float> *lane :
                 {&weight, &d1x, &d1y, &d1z, &d2x, &d2y, &d2z, &nx, &ny, &nz, &k1, &k2, &ku, &kuv, &kv})
                lane->resize(size);
        }
        index[count] = j;
        weight[count] = w;
        count++;
    }

    void gather(const FillMesh &mesh)
    {
        for (size_t k = 0; k < count; k++) {
            const FillVertex &v = mesh.vertices[size_t(index[k])];
            d1x[k] = v.dir1.x, d1y[k] = v.dir1.y, d1z[k] = v.dir1.z;
            d2x[k] = v.dir2.x, d2y[k] = v.dir2.y, d2z[k] = v.dir2.z;
            nx[k] = v.frame_normal.x, ny[k] = v.frame_normal.y, nz[k] = v.frame_normal.z;
            k1[k] = v.k1, k2[k] = v.k2;
        }
    }

    // Projects every gathered tensor into the frame of `to`.
    void project(const FillVertex &to)
    {
        const float *ax = d1x.data(), *ay = d1y.data(), *az = d1z.data();
        const float *bx = d2x.data(), *by = d2y.data(), *bz = d2z.data();
        const float *cx = nx.data(), *cy = ny.data(), *cz = nz.data();
        const float *p1 = k1.data(), *p2 = k2.data();
        float *out_ku = ku.data(), *out_kuv = kuv.data(), *out_kv = kv.data();
        const Point3 u = to.dir1, v = to.dir2, w = to.frame_normal;
        // The lanes are separate arrays: no iteration reads what another writes.
#pragma GCC ivdep
        for (size_t k = 0; k < count; k++) {
            float a, b, c;
            project_curvature(Point3(ax[k], ay[k], az[k]), Point3(bx[k], by[k], bz[k]), Point3(cx[k], cy[k], cz[k]),
                              p1[k], 0.0f, p2[k], u, v, w, a, b, c);
            out_ku[k] = a, out_kuv[k] = b, out_kv[k] = c;
        }
    }
};

// What one flood fill needs besides the mesh: its own marks (so that fills on
// other threads do not disturb it), a stack and the reached vertices, all
// kept between fills.
struct FillScratch {
    std::vector<uint32_t> marks;
    uint32_t stamp = 0;
    std::vector<int> stack;
    Reached reached;
};

// The Gaussian-weighted average tensor around vertex i, in i's frame.
Tensor smoothed_tensor(const FillMesh &mesh, size_t i, float w2, FillScratch &fill)
{
    const FillVertex &centre = mesh.vertices[i];
    const Tensor own = tensor_in_frame(centre, centre);
    if (mesh.begin(i) == mesh.end(i))
        return own;

    // The fill: which vertices count, and with what weight. The stack is
    // used up to `top`; a push writes every neighbour and keeps the unmarked
    // ones, without a branch to mispredict.
    const uint32_t stamp = ++fill.stamp;
    uint32_t *marks = fill.marks.data();
    marks[i] = stamp;
    std::vector<int> &stack = fill.stack;
    stack.assign(mesh.begin(i), mesh.end(i));
    size_t top = stack.size();
    Reached &reached = fill.reached;
    reached.count = 0;
    while (top > 0) {
        const int j = stack[--top];
        if (marks[j] == stamp)
            continue;
        marks[j] = stamp;
        const FillVertex &other = mesh.vertices[j];
        const float c = dot(centre.normal, other.normal);
        if (!(c > 0.0f))
            continue;
        // Zero from three standard deviations on; also when d^2 * w2 is not a
        // number (a zero distance with an endless w2).
        const float d2w = dist2(centre.position, other.position) * w2;
        const float g = d2w < 9.0f ? std::exp(-0.5f * d2w) : 0.0f;
        if (g == 0.0f)
            continue;
        reached.add(j, g * c * other.area);
        const int *first = mesh.begin(size_t(j)), *last = mesh.end(size_t(j));
        if (stack.size() < top + size_t(last - first))
            stack.resize(2 * (top + size_t(last - first)));
        for (const int *k = first; k != last; k++) {
            stack[top] = *k;
            top += marks[*k] != stamp;
        }
    }

    // The sums, in the order the fill reached the vertices.
    reached.gather(mesh);
    reached.project(centre);
    Tensor sum{own.ku * centre.area, own.kuv * centre.area, own.kv * centre.area};
    float total = centre.area;
    for (size_t k = 0; k < reached.count; k++) {
        const float weight = reached.weight[k];
        sum.ku += weight * reached.ku[k];
        sum.kuv += weight * reached.kuv[k];
        sum.kv += weight * reached.kv[k];
        total += weight;
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
    for_each_block(nv, 1024, [&](BlockQueue &blocks) {
        FillScratch fill;
        fill.marks.assign(nv, 0);
        size_t begin, end;
        while (blocks.next(begin, end))
            for (size_t i = begin; i < end; i++)
                smoothed[i] = smoothed_tensor(fill_mesh, i, w2, fill);
    });
    for_each_index(nv, 4096, [&](size_t i) {
        diagonalize_curvature(mesh.principal_dir1[i], mesh.principal_dir2[i], smoothed[i].ku, smoothed[i].kuv,
                              smoothed[i].kv, mesh.normals[i], mesh.principal_dir1[i], mesh.principal_dir2[i],
                              mesh.principal_curv1[i], mesh.principal_curv2[i]);
    });
    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
}
