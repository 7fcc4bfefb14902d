// Vertex normals: from faces or strips as weighted sums of face normals, and
// for a point cloud from the plane fitted to each point's nearest neighbours.

#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "KDtree.h"
#include "TriMesh.h"
#include "cloud_normal.h"
#include "lineqn.h"
#include "parallel.h"
#include "strip_triangles.h"

namespace {

// Neighbours asked of the tree for each point of a cloud.
constexpr int cloud_neighbors = 12;

void add_if_finite(Point3 &sum, const Point3 &v)
{
    if (std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z))
        sum += v;
}

// Adds the triangle's normal to its corners' normals, each divided by the
// product of the squared lengths of the two edges at that corner, so that
// small, sharp triangles count most. Triangles with coincident corners add
// nothing.
void accumulate_triangle(TriMesh &mesh, int v0, int v1, int v2)
{
    const Point3 &p0 = mesh.vertices[v0], &p1 = mesh.vertices[v1], &p2 = mesh.vertices[v2];
    const Point3 a = p0 - p1, b = p1 - p2, c = p2 - p0;
    const float la = len2(a), lb = len2(b), lc = len2(c);
    if (la == 0.0f || lb == 0.0f || lc == 0.0f)
        return;
    const Point3 n = cross(a, b);
    add_if_finite(mesh.normals[v0], n * (1.0f / (la * lc)));
    add_if_finite(mesh.normals[v1], n * (1.0f / (lb * la)));
    add_if_finite(mesh.normals[v2], n * (1.0f / (lc * lb)));
}

// Rejects one point: the query itself.
class NotPoint : public KDtree::CompatFunc {
public:
    explicit NotPoint(const float *p) : p(p) {}
    bool operator()(const float *q) const override { return q != p; }

private:
    const float *p;
};

// The offsets (3 * index) of a vertex's neighbours, in increasing order.
struct CloudNeighbors {
    std::array<int, cloud_neighbors> offsets;
    int count = 0;
};

// Finds the neighbours of vertex i: the points that successive closest-point
// searches return, each excluding the vertex and the points found before,
// within the tree's default limit. One traversal finds them unless rounding
// leaves open which points those searches would reach; then the searches run
// one by one. `nearest` and `found` are scratch storage reused across calls.
void find_cloud_neighbors(const TriMesh &mesh, const KDtree &tree, int i, NearestPoints &nearest,
                          NotInSet &found, CloudNeighbors &neighbors)
{
    const float *first = reinterpret_cast<const float *>(mesh.vertices.data());
    const float *p = first + 3 * i;
    neighbors.count = 0;
    const NotPoint not_self(p);
    tree.nearest_points(p, nearest, 0.0f, &not_self);
    if (nearest.settled()) {
        // Insertion sort: a dozen offsets, found nearest first.
        std::array<int, cloud_neighbors> &offsets = neighbors.offsets;
        for (int j = 0; j < nearest.size(); j++) {
            const int offset = int(nearest[j] - first);
            int k = j;
            for (; k > 0 && offsets[size_t(k - 1)] > offset; k--)
                offsets[size_t(k)] = offsets[size_t(k - 1)];
            offsets[size_t(k)] = offset;
        }
        neighbors.count = nearest.size();
        return;
    }
    found.clear();
    found.insert(3 * i);
    for (int k = 0; k < cloud_neighbors; k++) {
        const float *q = tree.closest_point(p, 0.0f, &found);
        if (!q)
            break;
        found.insert(int(q - first));
    }
    for (const int offset : found)
        if (offset != 3 * i)
            neighbors.offsets[size_t(neighbors.count++)] = offset;
}

// Point-cloud normals of every vertex, spread over the cores; each normal
// depends on its vertex alone. A vertex with too few neighbours gets (0, 0, 1)
// and a warning, printed in vertex order.
void cloud_normals(TriMesh &mesh)
{
    const KDtree tree(mesh.vertices);
    const float *first = reinterpret_cast<const float *>(mesh.vertices.data());
    std::vector<char> too_few(mesh.vertices.size(), 0);
    for_each_block(mesh.vertices.size(), 1024, [&](BlockQueue &blocks) {
        NearestPoints nearest(cloud_neighbors);
        NotInSet found(first);
        CloudNeighbors neighbors;
        size_t begin, end;
        while (blocks.next(begin, end))
            for (size_t i = begin; i < end; i++) {
                find_cloud_neighbors(mesh, tree, int(i), nearest, found, neighbors);
                const std::optional<Point3> n =
                    fit_cloud_normal(mesh.vertices, int(i), neighbors.offsets.data(), neighbors.count);
                too_few[i] = !n;
                mesh.normals[i] = n.value_or(Point3(0, 0, 1));
            }
    });
    for (size_t i = 0; i < too_few.size(); i++)
        if (too_few[i])
            error_printf("Warning: not enough points for vertex %d\n", int(i));
}

} // namespace

std::optional<Point3> fit_cloud_normal(const std::vector<Point3> &points, int i, const int *offsets,
                                       int count)
{
    if (count < 3)
        return std::nullopt;
    SquareMatrix<float, 3> scatter{};
    const Point3 &pi = points[size_t(i)];
    for (int j = 0; j < count; j++) {
        const Point3 d = points[size_t(offsets[j] / 3)] - pi;
        for (int r = 0; r < 3; r++)
            for (int c = 0; c < 3; c++)
                scatter[r][c] += d[r] * d[c];
    }
    std::array<float, 3> eigenvalues;
    eigen_symmetric(scatter, eigenvalues);
    Point3 n(scatter[0][0], scatter[1][0], scatter[2][0]);
    if (n.z < 0.0f)
        n = -n;
    return n;
}

void TriMesh::ensure_normals()
{
    if (normals.size() == vertices.size())
        return;
    progress_printf("Computing normals... ");
    normals.assign(vertices.size(), Point3());

    if (!tristrips.empty()) {
        for_each_strip_triangle(tristrips,
                                [this](int a, int b, int c) { accumulate_triangle(*this, a, b, c); });
    } else {
        ensure_faces();
        if (!faces.empty()) {
            for (const Face &f : faces)
                accumulate_triangle(*this, f[0], f[1], f[2]);
        } else {
            cloud_normals(*this);
        }
    }

    for (Point3 &n : normals)
        normalize(n);
    progress_printf("Done.\n");
}
