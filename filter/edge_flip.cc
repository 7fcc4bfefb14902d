// Edge flipping by the largest-angle criterion.
//
// Termination: every flip strictly raises the smaller quality of the pair it
// replaces, so the sorted list of all face qualities rises lexicographically
// with each flip, and there are finitely many face lists. That needs a quality
// that depends only on the triangle, never on the order of its corners (a flip
// and its reverse then have exactly opposite benefits), and is never NaN (so
// every comparison holds).

#include "edge_flip.h"

#include <algorithm>
#include <cmath>
#include <queue>

#include "face_change.h"
#include "index_range.h"

namespace {

// The two faces on an edge: f = (c, d, e) with the edge d-e opposite its
// corner j, and h across it, holding d at corner id and g opposite the edge.
struct EdgePair {
    int f, h, id;
    int c, d, e, g;
};

// Reads the pair on edge j of f; false when there is no face across.
bool read_pair(const TriMesh &mesh, int f, int j, EdgePair &pair)
{
    if (!index_in_range(f, mesh.across_edge.size()) || j < 0 || j > 2)
        return false;
    const int h = mesh.across_edge[f][j];
    if (h < 0)
        return false;
    const Face &ff = mesh.faces[f];
    pair.f = f;
    pair.h = h;
    pair.c = ff[j];
    pair.d = ff[(j + 1) % 3];
    pair.e = ff[(j + 2) % 3];
    pair.id = mesh.corner_index(h, pair.d);
    pair.g = pair.id < 0 ? -1 : mesh.faces[h][(pair.id + 1) % 3];
    return true;
}

void report_one_sided_link(const TriMesh &mesh, const EdgePair &p)
{
    const Face &hf = mesh.faces[p.h], &ha = mesh.across_edge[p.h];
    error_printf("Encountered error in flip_benefit()\n");
    error_printf("f = %d: %d %d %d\n", p.f, p.e, p.c, p.d);
    error_printf("ae = %d\n", p.h);
    error_printf("aef = %d %d %d\n", hf[0], hf[1], hf[2]);
    error_printf("faei3 = %d\n", p.id);
    error_printf("aeae = %d %d %d\n", ha[0], ha[1], ha[2]);
}

float min_quality(const Point3 &a, const Point3 &b, const Point3 &c, const Point3 &d,
                  const Point3 &e, const Point3 &f)
{
    return std::min(triangle_quality(a, b, c), triangle_quality(d, e, f));
}

struct FlipCandidate {
    float benefit;
    int face, edge;
    // Larger benefit first, then larger face, then larger edge: a total order,
    // so the order of flips does not depend on how the queue is built.
    friend bool operator<(const FlipCandidate &a, const FlipCandidate &b)
    {
        if (a.benefit != b.benefit)
            return a.benefit < b.benefit;
        if (a.face != b.face)
            return a.face < b.face;
        return a.edge < b.edge;
    }
};

using FlipQueue = std::priority_queue<FlipCandidate>;

void push_improving_edges(TriMesh &mesh, FlipQueue &queue, int f)
{
    for (int j = 0; j < 3; j++) {
        const float benefit = flip_benefit(mesh, f, j);
        if (benefit > 0)
            queue.push({benefit, f, j});
    }
}

} // namespace

float triangle_quality(const Point3 &p, const Point3 &q, const Point3 &r)
{
    // Doubles: no float input overflows, and the result is the same for every
    // order of the corners (the sides are multiplied in sorted order).
    const double a2 = dist2(q, r), b2 = dist2(r, p), c2 = dist2(p, q);
    double a = std::sqrt(a2), b = std::sqrt(b2), c = std::sqrt(c2);
    // By the law of cosines each product is 2abc times the cosine of an angle.
    const double smallest = std::min({a * (b2 + c2 - a2), b * (c2 + a2 - b2), c * (a2 + b2 - c2)});
    if (a > b)
        std::swap(a, b);
    if (b > c)
        std::swap(b, c);
    if (a > b)
        std::swap(a, b);
    const double abc = a * b * c;
    if (!(abc > 0))
        return -1;
    const float quality = float(smallest * (0.5 / abc));
    return std::isfinite(quality) ? quality : -1;
}

float flip_benefit(TriMesh &mesh, int f, int j)
{
    mesh.ensure_across_edge();
    EdgePair p;
    if (!read_pair(mesh, f, j, p))
        return 0;
    const int k = (p.id + 1) % 3;  // the corner of h opposite the shared edge
    if (p.id < 0 || mesh.across_edge[p.h][k] != f) {
        report_one_sided_link(mesh, p);
        return 0;
    }
    if (p.g == p.c)
        return 0;
    const size_t nv = mesh.vertices.size();
    if (!index_in_range(p.c, nv) || !index_in_range(p.d, nv) || !index_in_range(p.e, nv) ||
        !index_in_range(p.g, nv))
        return 0;
    const Point3 &pc = mesh.vertices[p.c], &pd = mesh.vertices[p.d];
    const Point3 &pe = mesh.vertices[p.e], &pg = mesh.vertices[p.g];
    // The new triangles (c, d, g) and (c, g, e) must face the same way.
    if (!(dot(cross(pd - pc, pg - pc), cross(pg - pc, pe - pc)) > 0))
        return 0;
    return min_quality(pc, pd, pg, pc, pg, pe) - min_quality(pc, pd, pe, pe, pd, pg);
}

int flip_edge(TriMesh &mesh, int f, int j)
{
    mesh.ensure_across_edge();
    EdgePair p;
    if (!read_pair(mesh, f, j, p) || p.id < 0)
        return -1;
    std::vector<Face> &faces = mesh.faces, &across = mesh.across_edge;
    const int h = p.h, id = p.id;
    const int m = across[h][id];           // beyond g-e
    const int o = across[f][(j + 2) % 3];  // beyond c-d
    faces[f][(j + 1) % 3] = p.g;           // f = (c, g, e)
    faces[h][(id + 2) % 3] = p.c;          // h = (d, g, c)
    across[f][j] = m;
    across[f][(j + 2) % 3] = h;
    across[h][id] = f;
    across[h][(id + 1) % 3] = o;
    // The faces beyond now border f (edge g-e) and h (edge c-d).
    if (m >= 0) {
        const int cg = mesh.corner_index(m, p.g);
        if (cg >= 0 && across[m][(cg + 1) % 3] == h)
            across[m][(cg + 1) % 3] = f;
    }
    if (o >= 0) {
        const int cc = mesh.corner_index(o, p.c);
        if (cc >= 0 && across[o][(cc + 1) % 3] == f)
            across[o][(cc + 1) % 3] = h;
    }
    mesh.clear_vertex_faces();
    mesh.clear_vertex_neighbors();
    mesh.clear_point_areas();
    return h;
}

void edge_flip(TriMesh &mesh)
{
    mesh.ensure_faces();
    mesh.tristrips.clear();
    mesh.range_grid.clear();
    mesh.ensure_across_edge();
    progress_printf("Flipping edges... ");
    FlipQueue queue;
    for (int f = 0; f < int(mesh.faces.size()); f++)
        push_improving_edges(mesh, queue, f);
    bool flipped = false;
    while (!queue.empty()) {
        const FlipCandidate best = queue.top();
        queue.pop();
        if (!(flip_benefit(mesh, best.face, best.edge) > 0))
            continue;
        const int g = flip_edge(mesh, best.face, best.edge);
        flipped = true;
        push_improving_edges(mesh, queue, best.face);
        push_improving_edges(mesh, queue, g);
    }
    // Links of edges shared by more than two faces may still name a face
    // that no longer holds the edge; a later strip build must not read them.
    if (flipped)
        clear_face_derived_data(mesh);
    progress_printf("Done.\n");
}
