// Bilateral smoothing: a flood fill over faces across their edges, in a
// mollifying pass and a projecting pass.

#include "bilateral.h"

#include "gaussian_smooth.h"
#include "lineqn.h"
#include "shape_filter_support.h"

namespace {

// What the filter reads of a face: its centre and area in the current positions.
struct FaceSample {
    Point3 centre;
    float area = 0;
};

FaceSample sample_face(const std::vector<Point3> &positions, const Face &f)
{
    const Point3 &p0 = positions[f[0]], &p1 = positions[f[1]], &p2 = positions[f[2]];
    return {((p0 + p1) + p2) * 0.33333334f, len(0.5f * cross(p2 - p0, p1 - p0))};
}

// The flood fill of one vertex over the faces around it.
class FaceFilter {
public:
    explicit FaceFilter(TriMesh &mesh) : mesh(mesh), samples(mesh.faces.size())
    {
        for (size_t f = 0; f < samples.size(); f++)
            samples[f] = sample_face(mesh.vertices, mesh.faces[f]);
    }

    // Unit normals of the faces in `positions`, (0, 0, 0) for a face without
    // area there; with them set, filter() projects onto the faces' planes.
    void set_planes(const std::vector<Point3> &positions)
    {
        planes.resize(mesh.faces.size());
        for (size_t f = 0; f < planes.size(); f++) {
            const Face &face = mesh.faces[f];
            const Point3 &p0 = positions[face[0]], &p1 = positions[face[1]],
                         &p2 = positions[face[2]];
            Point3 n = 0.5f * cross(p2 - p0, p1 - p0);
            planes[f] = len2(n) > 0.0f ? normalize(n) : Point3();
        }
    }

    // The filtered point for vertex v, starting from x. Plain: the weighted
    // mean of face centres. Projecting (after set_planes): the weighted mean of
    // x projected onto each face's plane. x when nothing has weight.
    Point3 filter(int v, const Point3 &x, float inv_s, float inv_r)
    {
        const IndexLists &vertex_faces = mesh.vertex_faces;
        if (size_t(v) >= vertex_faces.size() || vertex_faces[v].empty())
            return x;
        Point3 sum;
        float total = 0;
        const uint32_t stamp = next_visit_stamp(mesh);
        uint32_t *marks = mesh.visit_marks.data();
        stack.assign(vertex_faces[v].begin(), vertex_faces[v].end());
        while (!stack.empty()) {
            const int f = stack.back();
            stack.pop_back();
            if (marks[f] == stamp)
                continue;
            marks[f] = stamp;
            const FaceSample &s = samples[f];
            const float g = gaussian_weight(s.centre, x, inv_s);
            if (g == 0.0f)
                continue;
            float w = g * s.area;
            if (planes.empty()) {
                sum += w * s.centre;
                total += w;
            } else if (const Point3 &n = planes[f]; n != Point3()) {
                const Point3 q = x - dot(x - s.centre, n) * n;
                w *= gaussian_weight(q, x, inv_r);
                if (w == 0.0f)
                    continue;
                sum += w * q;
                total += w;
            }
            for (int k = 0; k < 3; k++) {
                const int across = mesh.across_edge[f][k];
                if (across != -1 && marks[across] != stamp)
                    stack.push_back(across);
            }
        }
        return total != 0.0f ? sum / total : x;
    }

    // Moves vertex v and brings the samples of its faces up to date.
    void move_vertex(int v, const Point3 &p)
    {
        mesh.vertices[v] = p;
        if (size_t(v) < mesh.vertex_faces.size())
            for (const int f : mesh.vertex_faces[v])
                samples[f] = sample_face(mesh.vertices, mesh.faces[f]);
    }

private:
    TriMesh &mesh;
    std::vector<FaceSample> samples;
    std::vector<Point3> planes;
    std::vector<int> stack;
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
    const size_t nv = mesh.vertices.size();
    FaceFilter filter(mesh);

    const float half = sigma_s / 2.0f;
    const float inv_mollify = 1.0f / (half * half);
    std::vector<Point3> mollified(nv);
    for (size_t v = 0; v < nv; v++)
        mollified[v] = filter.filter(int(v), mesh.vertices[v], inv_mollify, 0.0f);

    filter.set_planes(mollified);
    const float inv_s = 1.0f / (sigma_s * sigma_s), inv_r = 1.0f / (sigma_r * sigma_r);
    for (size_t v = 0; v < nv; v++)
        filter.move_vertex(int(v), filter.filter(int(v), mollified[v], inv_s, inv_r));

    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
    mesh.clear_normals();
    clear_shape_data(mesh);
}
