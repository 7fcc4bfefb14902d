// Bilateral smoothing: a flood fill over faces across their edges, in a
// mollifying pass and a projecting pass.

#include "bilateral.h"

#include "gaussian_weight.h"
#include "lineqn.h"
#include "parallel.h"
#include "shape_filter_support.h"

namespace {

// What the filter reads of a face, side by side: its centre and area in the
// current positions, its unit normal in the mollified positions ((0, 0, 0)
// without area there, or before set_planes) and the faces across its edges.
struct FaceRecord {
    Point3 centre;
    float area = 0;
    Point3 normal;
    Face across;
};

// The flood fill of one vertex over the faces around it.
class FaceFilter {
public:
    explicit FaceFilter(TriMesh &mesh) : mesh(mesh), records(mesh.faces.size())
    {
        for (size_t f = 0; f < records.size(); f++) {
            sample_face(int(f));
            records[f].across = mesh.across_edge[f];
        }
    }

    // Unit normals of the faces in `positions`, (0, 0, 0) for a face without
    // area there, for the projecting filter.
    void set_planes(const std::vector<Point3> &positions)
    {
        for (size_t f = 0; f < records.size(); f++) {
            const Face &face = mesh.faces[f];
            const Point3 &p0 = positions[face[0]], &p1 = positions[face[1]],
                         &p2 = positions[face[2]];
            Point3 n = 0.5f * cross(p2 - p0, p1 - p0);
            records[f].normal = len2(n) > 0.0f ? normalize(n) : Point3();
        }
    }

    // The filtered point for vertex v, starting from x. Plain: the weighted
    // mean of face centres. Projecting (after set_planes): the weighted mean of
    // x projected onto each face's plane. x when nothing has weight. Reads
    // the records alone, so that threads with marks and stacks of their own
    // may filter at the same time.
    template <bool projecting>
    Point3 filter(int v, const Point3 &x, float inv_s, float inv_r, VisitMarks &marks,
                  std::vector<int> &stack) const
    {
        const IndexLists &vertex_faces = mesh.vertex_faces;
        if (size_t(v) >= vertex_faces.size() || vertex_faces[v].empty())
            return x;
        Point3 sum;
        float total = 0;
        const uint32_t stamp = marks.next();
        uint32_t *mark = marks.data();
        stack.assign(vertex_faces[v].begin(), vertex_faces[v].end());
        while (!stack.empty()) {
            const int f = stack.back();
            stack.pop_back();
            if (mark[f] == stamp)
                continue;
            mark[f] = stamp;
            const FaceRecord &r = records[f];
            const float g = gaussian_weight(r.centre, x, inv_s);
            if (g == 0.0f)
                continue;
            float w = g * r.area;
            if constexpr (!projecting) {
                sum += w * r.centre;
                total += w;
            } else if (r.normal != Point3()) {
                const Point3 q = x - dot(x - r.centre, r.normal) * r.normal;
                w *= gaussian_weight(q, x, inv_r);
                if (w == 0.0f)
                    continue;
                sum += w * q;
                total += w;
            }
            for (int k = 0; k < 3; k++) {
                const int across = r.across[k];
                if (across != -1 && mark[across] != stamp)
                    stack.push_back(across);
            }
        }
        return total != 0.0f ? sum / total : x;
    }

    // Moves vertex v and brings the records of its faces up to date.
    void move_vertex(int v, const Point3 &p)
    {
        mesh.vertices[v] = p;
        if (size_t(v) < mesh.vertex_faces.size())
            for (const int f : mesh.vertex_faces[v])
                sample_face(f);
    }

private:
    void sample_face(int f)
    {
        const Face &face = mesh.faces[f];
        const Point3 &p0 = mesh.vertices[face[0]], &p1 = mesh.vertices[face[1]],
                     &p2 = mesh.vertices[face[2]];
        records[f].centre = ((p0 + p1) + p2) * 0.33333334f;
        records[f].area = len(0.5f * cross(p2 - p0, p1 - p0));
    }

    TriMesh &mesh;
    std::vector<FaceRecord> records;
};

} // namespace

void bilateral_smooth(TriMesh &mesh, float sigma_s, float sigma_r)
{
    if (!usable_width(sigma_s, "Bilateral smoothing") ||
        !usable_width(sigma_r, "Bilateral smoothing"))
        return;
    mesh.ensure_faces();
    mesh.ensure_vertex_faces();
    mesh.ensure_across_edge();
    size_visit_marks(mesh, mesh.faces.size());
    progress_printf("\rSmoothing... ");
    const uint64_t start = now_ticks();
    const size_t nv = mesh.vertices.size(), nf = mesh.faces.size();
    FaceFilter filter(mesh);

    // Pass 1 reads positions that stay as they are: the vertices are
    // independent and spread over the cores.
    const float half = sigma_s / 2.0f;
    const float inv_mollify = 1.0f / (half * half);
    std::vector<Point3> mollified(nv);
    for_each_block(nv, 1024, [&](BlockQueue &queue) {
        VisitMarks marks(nf);
        std::vector<int> stack;
        size_t begin, end;
        while (queue.next(begin, end))
            for (size_t v = begin; v < end; v++)
                mollified[v] =
                    filter.filter<false>(int(v), mesh.vertices[v], inv_mollify, 0.0f, marks, stack);
    });

    // Pass 2 moves each vertex before the next starts, and the next reads the
    // faces that moved: it runs in vertex order on one thread.
    filter.set_planes(mollified);
    const float inv_s = 1.0f / (sigma_s * sigma_s), inv_r = 1.0f / (sigma_r * sigma_r);
    VisitMarks marks(nf);
    std::vector<int> stack;
    for (size_t v = 0; v < nv; v++)
        filter.move_vertex(int(v),
                           filter.filter<true>(int(v), mollified[v], inv_s, inv_r, marks, stack));

    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
    mesh.clear_normals();
    clear_shape_data(mesh);
}
