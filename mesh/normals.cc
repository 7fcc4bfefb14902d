// Vertex normals: from faces or strips as weighted sums of face normals, and
// for a point cloud from the plane fitted to each point's nearest neighbours.

#include <cmath>

#include "KDtree.h"
#include "TriMesh.h"
#include "lineqn.h"
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

// Normal of a point cloud at vertex i: the direction of least spread of its
// nearest neighbours about the point itself, turned towards +z. Falls back to
// (0, 0, 1) with a warning when fewer than three neighbours exist. `found` is
// scratch storage reused across calls.
Point3 cloud_normal(const TriMesh &mesh, const KDtree &tree, int i, NotInSet &found)
{
    const float *first = reinterpret_cast<const float *>(mesh.vertices.data());
    const float *p = first + 3 * i;
    found.clear();
    found.insert(3 * i);
    for (int k = 0; k < cloud_neighbors; k++) {
        const float *q = tree.closest_point(p, 0.0f, &found);
        if (!q)
            break;
        found.insert(int(q - first));
    }
    if (found.size() < 4) {
        error_printf("Warning: not enough points for vertex %d\n", i);
        return Point3(0, 0, 1);
    }

    SquareMatrix<float, 3> scatter{};
    const Point3 &pi = mesh.vertices[i];
    for (const int offset : found) {
        if (offset == 3 * i)
            continue;
        const Point3 d = mesh.vertices[offset / 3] - pi;
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

} // namespace

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
            const KDtree tree(vertices);
            NotInSet found(reinterpret_cast<const float *>(vertices.data()));
            for (size_t i = 0; i < vertices.size(); i++)
                normals[i] = cloud_normal(*this, tree, int(i), found);
        }
    }

    for (Point3 &n : normals)
        normalize(n);
    progress_printf("Done.\n");
}
