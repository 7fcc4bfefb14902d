// Free-space probes with a k-d tree: free balls above the surface, and the
// distance to the nearest faces of another mesh.

#include "free_space_colourings.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "KDtree.h"
#include "curvature_colourings.h"
#include "hsv_colour.h"
#include "parallel.h"

namespace {

// True when some point of the tree lies strictly within `radius` of `centre`.
// A radius of 0 or less (or one whose square is 0) reaches nothing; the tree
// would take a zero limit as "the whole root cell".
bool holds_a_point(const KDtree &tree, const Point3 &centre, float radius)
{
    const float r2 = radius * radius;
    return radius > 0.0f && r2 > 0.0f && tree.closest_point(&centre.x, r2) != nullptr;
}

// Radius of the largest empty ball resting on p + offset n along n, by eight
// halvings of [0, maxsize].
float free_ball_radius(const KDtree &tree, const Point3 &p, const Point3 &n, float maxsize, float offset)
{
    const Point3 base = p + offset * n;
    float lo = 0.0f, hi = maxsize;
    for (int step = 0; step < 8; step++) {
        const float mid = (lo + hi) * 0.5f;
        if (holds_a_point(tree, base + mid * n, mid))
            hi = mid;
        else
            lo = mid;
    }
    return (lo + hi) * 0.5f;
}

// The point of segment ab nearest to p.
Point3 closest_on_segment(const Point3 &p, const Point3 &a, const Point3 &b)
{
    const Point3 ab = b - a;
    const float l2 = len2(ab);
    if (!(l2 > 0.0f))
        return a;
    const float t = std::clamp(dot(p - a, ab) / l2, 0.0f, 1.0f);
    return a + t * ab;
}

// The point of triangle abc nearest to p: its projection into the plane when
// that falls inside, else the nearest of the closest points on the edges.
Point3 closest_on_triangle(const Point3 &p, const Point3 &a, const Point3 &b, const Point3 &c)
{
    const Point3 e1 = b - a, e2 = c - a, d = p - a;
    const float d11 = dot(e1, e1), d12 = dot(e1, e2), d22 = dot(e2, e2);
    const float b1 = dot(d, e1), b2 = dot(d, e2);
    const float det = d11 * d22 - d12 * d12;
    if (det > 0.0f) {
        const float s = (d22 * b1 - d12 * b2) / det, t = (d11 * b2 - d12 * b1) / det;
        if (s >= 0.0f && t >= 0.0f && s + t <= 1.0f)
            return a + s * e1 + t * e2;
    }
    Point3 best = closest_on_segment(p, a, b);
    for (const Point3 q : {closest_on_segment(p, b, c), closest_on_segment(p, c, a)})
        if (dist2(p, q) < dist2(p, best))
            best = q;
    return best;
}

// The nearest point to p of the faces around reference vertex v, or v itself
// when it has none.
Point3 closest_around_vertex(const TriMesh &reference, int v, const Point3 &p)
{
    const std::span<const int> faces =
        size_t(v) < reference.vertex_faces.size() ? reference.vertex_faces[size_t(v)] : std::span<const int>();
    if (faces.empty())
        return reference.vertices[v];
    Point3 best;
    float best_d2 = 0;
    for (size_t k = 0; k < faces.size(); k++) {
        const Face &f = reference.faces[faces[k]];
        const Point3 q = closest_on_triangle(p, reference.vertices[f[0]], reference.vertices[f[1]],
                                             reference.vertices[f[2]]);
        const float d2 = dist2(p, q);
        if (k == 0 || d2 < best_d2) {
            best = q;
            best_d2 = d2;
        }
    }
    return best;
}

} // namespace

void bake_accessibility(TriMesh &mesh, double maxsize_factor, double offset_factor)
{
    mesh.ensure_normals();
    const float f = curvature_feature_size(mesh);
    const float maxsize = float(maxsize_factor * f), offset = float(offset_factor * f);
    progress_printf("Using maxsize = %f, offset = %f\n", double(maxsize), double(offset));
    const KDtree tree(mesh.vertices);
    for_each_index(mesh.vertices.size(), 1024, [&](size_t i) {
        const float r = free_ball_radius(tree, mesh.vertices[i], mesh.normals[i], maxsize, offset);
        mesh.colors[i] = Color(r, r, r);
    });
}

bool bake_reference_distance(TriMesh &mesh, TriMesh &reference, float dmax)
{
    if (!(dmax > 0.0f) || !std::isfinite(dmax)) {
        error_printf("ao2: maximum distance %g cannot be used (it must be above 0 and finite).\n", double(dmax));
        return false;
    }
    reference.ensure_vertex_faces();
    const KDtree tree(reference.vertices);
    const float *first = reinterpret_cast<const float *>(reference.vertices.data());
    const float dmax2 = dmax * dmax;
    for_each_index(mesh.vertices.size(), 1024, [&](size_t i) {
        const Point3 &p = mesh.vertices[i];
        float d = dmax;
        // A limit whose square is 0 would stand for the whole root cell.
        if (const float *hit = dmax2 > 0.0f ? tree.closest_point(&p.x, dmax2) : nullptr)
            d = len(p - closest_around_vertex(reference, int((hit - first) / 3), p));
        const float e = d / dmax;
        mesh.colors[i] = hsv_to_rgb(4.0f * (1.0f - e), 0.3f * e + 0.7f, 0.3f * e + 0.7f);
    });
    return true;
}
