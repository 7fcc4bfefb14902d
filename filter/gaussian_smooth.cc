// Gaussian smoothing of normals and positions, and sharpening, by flood fills
// over the vertex neighbours that stop where the weight becomes 0.

#include "gaussian_smooth.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <span>
#include <utility>

#include "index_lists.h"
#include "lineqn.h"
#include "parallel.h"
#include "shape_filter_support.h"

namespace {

// exp(-d2 / 2) without a cut-off; 0 when d2 is endless or not a number.
float gaussian_falloff(float d2)
{
    return d2 < std::numeric_limits<float>::infinity() ? std::exp(-0.5f * d2) : 0.0f;
}

// Makes current what the fills read.
void prepare_vertex_filter(TriMesh &mesh)
{
    mesh.ensure_normals();
    mesh.ensure_point_areas();
    mesh.ensure_vertex_neighbors();
    size_visit_marks(mesh, mesh.vertices.size());
}

// The mesh's own arrays as a surface for gather_taps, with the mesh's marks.
struct MeshSurface {
    const TriMesh &mesh;
    Point3 position(int v) const { return mesh.vertices[v]; }
    Point3 normal(int v) const { return mesh.normals[v]; }
    float area(int v) const { return mesh.point_areas[v]; }
    std::span<const int> neighbours(int v) const
    {
        return size_t(v) < mesh.vertex_neighbors.size() ? std::span<const int>(mesh.vertex_neighbors[v])
                                                        : std::span<const int>();
    }
};

struct MeshMarks {
    TriMesh &mesh;
    uint32_t next() { return next_visit_stamp(mesh); }
    uint32_t *data() { return mesh.visit_marks.data(); }
};

// What the fills read of each vertex, side by side, and the neighbour lists
// end to end, so that a vertex reached costs a cache line or two instead of a
// line in each of four arrays.
class PackedSurface {
public:
    explicit PackedSurface(const TriMesh &mesh) : samples(mesh.vertices.size())
    {
        std::vector<size_t> starts(samples.size() + 1, 0);
        for (size_t v = 0; v < samples.size(); v++) {
            samples[v] = {mesh.vertices[v], mesh.normals[v], mesh.point_areas[v]};
            starts[v + 1] = starts[v] + mesh.vertex_neighbors[v].size();
        }
        std::vector<int> items;
        items.reserve(starts.back());
        for (const std::vector<int> &around : mesh.vertex_neighbors)
            items.insert(items.end(), around.begin(), around.end());
        lists = IndexLists(std::move(starts), std::move(items));
    }

    Point3 position(int v) const { return samples[v].position; }
    Point3 normal(int v) const { return samples[v].normal; }
    float area(int v) const { return samples[v].area; }
    std::span<const int> neighbours(int v) const { return lists[v]; }
    size_t size() const { return samples.size(); }

private:
    struct Sample {
        Point3 position, normal;
        float area;
    };
    std::vector<Sample> samples;
    IndexLists lists;
};

// Vertices are gathered and filtered in blocks of this many, each block on
// one thread.
constexpr size_t block_size = 1024;

// The taps of a block of vertices: those of its i-th vertex are
// taps[ends[i - 1] .. ends[i]) (from 0 for the first).
struct TapBlock {
    std::vector<size_t> ends;
    std::vector<Tap> taps;

    std::span<const Tap> of(size_t i) const
    {
        const size_t from = i == 0 ? 0 : ends[i - 1];
        return {taps.data() + from, ends[i] - from};
    }
    size_t bytes() const { return ends.size() * sizeof(size_t) + taps.size() * sizeof(Tap); }
};

// What one thread keeps while it gathers: its own marks, so that threads do
// not share the mesh's, its stack and a block of taps.
struct Gatherer {
    explicit Gatherer(size_t vertex_count) : marks(vertex_count) {}

    // Gathers the taps of vertices [begin, end) into `block`.
    void gather(const PackedSurface &surface, size_t begin, size_t end, float inv_sigma2)
    {
        block.ends.clear();
        block.taps.clear();
        for (size_t v = begin; v < end; v++) {
            gather_taps(surface, int(v), inv_sigma2, marks, stack, block.taps);
            block.ends.push_back(block.taps.size());
        }
    }

    VisitMarks marks;
    std::vector<int> stack;
    TapBlock block;
};

// vertex_filter of `field` at vertex v, the i-th of `block`.
Point3 filter_at(const PackedSurface &surface, const std::vector<Point3> &field, size_t v,
                 const TapBlock &block, size_t i)
{
    if (surface.neighbours(int(v)).empty())
        return field[v];
    return weighted_mean(field, int(v), surface.area(int(v)), block.of(i));
}

// Runs work(begin, end, gatherer) on every block of vertices, spread over the
// cores, each thread with a gatherer of its own.
template <class Work>
void for_each_vertex_block(size_t nv, const Work &work)
{
    for_each_block(nv, block_size, [&](BlockQueue &queue) {
        Gatherer gatherer(nv);
        size_t begin, end;
        while (queue.next(begin, end))
            work(begin, end, gatherer);
    });
}

// Takes `bytes` from what is left of a memory allowance; false when too
// little is left.
bool take_room(std::atomic<size_t> &room, size_t bytes)
{
    size_t left = room.load(std::memory_order_relaxed);
    while (left >= bytes)
        if (room.compare_exchange_weak(left, left - bytes, std::memory_order_relaxed))
            return true;
    return false;
}

// The memory that gaussian_smooth lets the taps kept between its passes
// take: about what the mesh's arrays that it works on take already, so that
// keeping them at most doubles the footprint.
size_t tap_allowance(const TriMesh &mesh)
{
    size_t neighbours = 0;
    for (const std::vector<int> &around : mesh.vertex_neighbors)
        neighbours += around.capacity() * sizeof(int) + sizeof(around);
    return neighbours + mesh.vertices.size() * (5 * sizeof(Point3) + sizeof(float)) +
           mesh.faces.size() * (sizeof(Face) + sizeof(Point3));
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

Point3 vertex_filter(TriMesh &mesh, const std::vector<Point3> &field, int v, float inv_sigma2,
                     FloodScratch &scratch)
{
    const MeshSurface surface{mesh};
    MeshMarks marks{mesh};
    scratch.taps.clear();
    if (!gather_taps(surface, v, inv_sigma2, marks, scratch.stack, scratch.taps))
        return field[v];
    return weighted_mean(field, v, mesh.point_areas[v], scratch.taps);
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
    const PackedSurface surface(mesh);
    std::vector<Point3> smoothed(nv);
    for_each_vertex_block(nv, [&](size_t begin, size_t end, Gatherer &gatherer) {
        gatherer.gather(surface, begin, end, inv_sigma2);
        for (size_t v = begin; v < end; v++) {
            smoothed[v] = filter_at(surface, mesh.normals, v, gatherer.block, v - begin);
            normalize(smoothed[v]);
        }
    });
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
    const PackedSurface surface(mesh);

    // The second pass uses the weights of the first: each block keeps its taps
    // while the allowance lasts, and the blocks past it gather them again.
    std::vector<TapBlock> kept((nv + block_size - 1) / block_size);
    std::atomic<size_t> room(tap_allowance(mesh));
    std::vector<Point3> disp(nv);
    for_each_vertex_block(nv, [&](size_t begin, size_t end, Gatherer &gatherer) {
        gatherer.gather(surface, begin, end, inv_sigma2);
        for (size_t v = begin; v < end; v++)
            disp[v] = filter_at(surface, mesh.vertices, v, gatherer.block, v - begin) - mesh.vertices[v];
        if (take_room(room, gatherer.block.bytes())) {
            TapBlock &block = kept[begin / block_size];
            block = std::exchange(gatherer.block, {});
            // The next block needs about as much: room for it at once
            // spares the copies of a growing array.
            gatherer.block.ends.reserve(block.ends.size());
            gatherer.block.taps.reserve(block.taps.size() + block.taps.size() / 4);
        }
    });
    add_face_pull(mesh, inv_sigma2, disp);

    // Moving by D minus its own filtered value keeps what is particular to each
    // vertex and drops what its surroundings share, which counters the
    // shrinking of plain Gaussian smoothing.
    std::vector<Point3> shared(nv);
    for_each_vertex_block(nv, [&](size_t begin, size_t end, Gatherer &gatherer) {
        TapBlock &kept_block = kept[begin / block_size];
        const TapBlock *block = &kept_block;
        if (kept_block.ends.empty()) {
            gatherer.gather(surface, begin, end, inv_sigma2);
            block = &gatherer.block;
        }
        for (size_t v = begin; v < end; v++)
            shared[v] = filter_at(surface, disp, v, *block, v - begin);
        kept_block = {};
    });
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
