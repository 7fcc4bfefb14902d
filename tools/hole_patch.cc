#include "hole_patch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

namespace {

// The patch's edges, each with the one or two patch faces on it (-1: none),
// kept current while faces are split and edges flipped.
class PatchEdges {
public:
    explicit PatchEdges(const HolePatch &patch)
    {
        for (int f = 0; f < int(patch.faces.size()); f++)
            for (int j = 0; j < 3; j++) {
                std::array<int, 2> &sides = slot(patch.faces[f][j], patch.faces[f][(j + 1) % 3]);
                sides[sides[0] < 0 ? 0 : 1] = f;
            }
    }

    void set(int a, int b, int f1, int f2) { slot(a, b) = {f1, f2}; }
    // The edge a-b moves from face `from` to face `to`.
    void move(int a, int b, int from, int to)
    {
        std::array<int, 2> &sides = slot(a, b);
        sides[sides[0] == from ? 0 : 1] = to;
    }
    void remove(int a, int b) { edges.erase(key(a, b)); }
    bool has(int a, int b) const { return edges.count(key(a, b)) > 0; }
    std::array<int, 2> faces_of(int a, int b) const { return edges.at(key(a, b)); }

    // Every edge as its two ends, taken before any change.
    std::vector<std::pair<int, int>> list() const
    {
        std::vector<std::pair<int, int>> all;
        all.reserve(edges.size());
        for (const auto &entry : edges)
            all.emplace_back(int(entry.first >> 32), int(entry.first & 0xffffffffu));
        return all;
    }

private:
    static uint64_t key(int a, int b)
    {
        return a < b ? uint64_t(a) << 32 | uint32_t(b) : uint64_t(b) << 32 | uint32_t(a);
    }
    std::array<int, 2> &slot(int a, int b) { return edges.try_emplace(key(a, b), std::array{-1, -1}).first->second; }

    std::unordered_map<uint64_t, std::array<int, 2>> edges;
};

float angle_at(const Point3 &corner, const Point3 &a, const Point3 &b)
{
    const Point3 u = a - corner, v = b - corner;
    return std::atan2(len(cross(u, v)), dot(u, v));
}

int third_corner(const Face &face, int a, int b)
{
    for (int j = 0; j < 3; j++)
        if (face[j] != a && face[j] != b)
            return face[j];
    return -1;
}

// Refinement state: the patch, its edges and each vertex's scale.
class Refiner {
public:
    Refiner(HolePatch &patch, std::vector<float> &scale, const RimEdgeTest &rim_edge)
        : patch(patch), rim_edge(rim_edge), scale(scale), edges(patch)
    {
        const size_t known = scale.size();
        scale.resize(patch.points.size());
        for (size_t v = known; v < patch.points.size(); v++)
            scale[v] = mean_scale_of_neighbours(int(v));
    }

    // Splits every triangle that is large for its corners' scale; returns
    // whether any was.
    bool split_large_faces()
    {
        bool split = false;
        const size_t count = patch.faces.size();
        for (size_t f = 0; f < count; f++)
            if (is_large(patch.faces[f])) {
                split_face(int(f));
                split = true;
            }
        return split;
    }

    // Flips edges towards a Delaunay triangulation until none flips (or a
    // bound on the sweeps is reached).
    void relax_all()
    {
        for (int sweep = 0; sweep < 50; sweep++) {
            bool flipped = false;
            for (const auto &[a, b] : edges.list())
                flipped |= relax(a, b);
            if (!flipped)
                return;
        }
    }

private:
    static constexpr float density = std::numbers::sqrt2_v<float>;

    // The scale of a vertex that the first triangulation added (a fan's
    // centre): the mean over the patch vertices it is joined to.
    float mean_scale_of_neighbours(int v) const
    {
        float sum = 0;
        int n = 0;
        for (const Face &face : patch.faces)
            for (int j = 0; j < 3; j++)
                if (face[j] == v && size_t(face[(j + 1) % 3]) < patch.rim) {
                    sum += scale[face[(j + 1) % 3]];
                    n++;
                }
        return n ? sum / float(n) : 0;
    }

    bool is_large(const Face &face) const
    {
        const Point3 c = (patch.points[face[0]] + patch.points[face[1]] + patch.points[face[2]]) / 3.0f;
        const float sc = (scale[face[0]] + scale[face[1]] + scale[face[2]]) / 3.0f;
        for (int j = 0; j < 3; j++) {
            const float d = density * len(c - patch.points[face[j]]);
            if (d <= sc || d <= scale[face[j]])
                return false;
        }
        return true;
    }

    // Puts a vertex at the centroid of face f, making three faces of it, and
    // relaxes the face's old edges.
    void split_face(int f)
    {
        const Face face = patch.faces[f];
        const int i = face[0], j = face[1], k = face[2];
        const int v = int(patch.points.size());
        patch.points.push_back((patch.points[i] + patch.points[j] + patch.points[k]) / 3.0f);
        scale.push_back((scale[i] + scale[j] + scale[k]) / 3.0f);
        const int f2 = int(patch.faces.size()), f3 = f2 + 1;
        patch.faces[f] = Face(i, j, v);
        patch.faces.emplace_back(j, k, v);
        patch.faces.emplace_back(k, i, v);
        edges.move(j, k, f, f2);
        edges.move(k, i, f, f3);
        edges.set(i, v, f, f3);
        edges.set(j, v, f, f2);
        edges.set(k, v, f2, f3);
        relax(i, j);
        relax(j, k);
        relax(k, i);
    }

    // Flips the edge a-b when the two angles facing it add up to more than a
    // half turn (its quad is not Delaunay) and the other diagonal is free.
    bool relax(int a, int b)
    {
        const std::array<int, 2> sides = edges.faces_of(a, b);
        if (sides[0] < 0 || sides[1] < 0)
            return false;
        // Name the faces so that f1 winds a -> b.
        int f1 = sides[0], f2 = sides[1];
        const Face &first = patch.faces[f1];
        const int ja = first[0] == a ? 0 : first[1] == a ? 1 : 2;
        if (first[(ja + 1) % 3] != b)
            std::swap(f1, f2);
        const int c = third_corner(patch.faces[f1], a, b), d = third_corner(patch.faces[f2], a, b);
        if (c == d || edges.has(c, d) || (size_t(c) < patch.rim && size_t(d) < patch.rim && rim_edge(c, d)))
            return false;
        const std::vector<Point3> &p = patch.points;
        if (angle_at(p[c], p[a], p[b]) + angle_at(p[d], p[a], p[b]) <= std::numbers::pi_v<float> + 1e-5f)
            return false;
        // f1 = (a, b, c) and f2 = (b, a, d) become (c, a, d) and (d, b, c).
        patch.faces[f1] = Face(c, a, d);
        patch.faces[f2] = Face(d, b, c);
        edges.remove(a, b);
        edges.move(a, d, f2, f1);
        edges.move(b, c, f1, f2);
        edges.set(c, d, f1, f2);
        return true;
    }

    HolePatch &patch;
    const RimEdgeTest &rim_edge;
    std::vector<float> &scale;
    PatchEdges edges;
};

// Conjugate gradients on a symmetric positive definite operator, from the
// guess in `x`; stops when the residual has fallen by 1e-4 or after `limit`
// steps.
template <typename Operator>
void conjugate_gradients(const Operator &apply, const std::vector<double> &rhs, std::vector<double> &x, int limit)
{
    const size_t n = x.size();
    std::vector<double> r(n), p(n), ap(n);
    apply(x, ap);
    for (size_t i = 0; i < n; i++)
        r[i] = rhs[i] - ap[i];
    p = r;
    double rr = 0, rhs2 = 0;
    for (size_t i = 0; i < n; i++) {
        rr += r[i] * r[i];
        rhs2 += rhs[i] * rhs[i];
    }
    const double goal = 1e-12 * std::max(rhs2, rr);
    for (int step = 0; step < limit && rr > goal && rr > 0; step++) {
        apply(p, ap);
        double pap = 0;
        for (size_t i = 0; i < n; i++)
            pap += p[i] * ap[i];
        if (pap <= 0)
            return;
        const double alpha = rr / pap;
        double next = 0;
        for (size_t i = 0; i < n; i++) {
            x[i] += alpha * p[i];
            r[i] -= alpha * ap[i];
            next += r[i] * r[i];
        }
        const double beta = next / rr;
        rr = next;
        for (size_t i = 0; i < n; i++)
            p[i] = r[i] + beta * p[i];
    }
}

} // namespace

void refine_patch(HolePatch &patch, const std::vector<float> &rim_scale, const RimEdgeTest &rim_edge)
{
    std::vector<float> scale = rim_scale;
    Refiner refiner(patch, scale, rim_edge);
    for (int round = 0; round < 100 && refiner.split_large_faces(); round++)
        refiner.relax_all();
}

void fair_patch(HolePatch &patch, const RimSurroundings &beyond)
{
    const size_t n = patch.points.size(), rim = patch.rim;
    if (n == rim)
        return;
    // Patch neighbours of every vertex, each once.
    std::vector<std::vector<int>> near(n);
    for (const Face &face : patch.faces)
        for (int j = 0; j < 3; j++) {
            std::vector<int> &list = near[face[j]];
            for (const int other : {face[(j + 1) % 3], face[(j + 2) % 3]})
                if (std::find(list.begin(), list.end(), other) == list.end())
                    list.push_back(other);
        }
    std::vector<double> weight(n);
    for (size_t v = 0; v < n; v++)
        weight[v] = 1.0 / double(near[v].size() + (v < rim ? beyond.count[v] : 0));

    // The Laplacians are linear in the added vertices' coordinate x (one of
    // three) plus a fixed part b from the rim and beyond: L = A x + b. The
    // energy |A x + b|^2 is least where A'A x = -A'b.
    const size_t unknowns = n - rim;
    auto apply_a = [&](const std::vector<double> &x, std::vector<double> &rows) {
        rows.assign(n, 0);
        for (size_t v = 0; v < n; v++) {
            double sum = 0;
            for (const int u : near[v])
                if (size_t(u) >= rim)
                    sum += x[u - rim];
            rows[v] = weight[v] * sum - (v >= rim ? x[v - rim] : 0);
        }
    };
    auto apply_at = [&](const std::vector<double> &rows, std::vector<double> &out) {
        out.assign(unknowns, 0);
        for (size_t v = 0; v < n; v++) {
            for (const int u : near[v])
                if (size_t(u) >= rim)
                    out[u - rim] += weight[v] * rows[v];
            if (v >= rim)
                out[v - rim] -= rows[v];
        }
    };
    std::vector<double> rows;
    auto normal_operator = [&](const std::vector<double> &x, std::vector<double> &out) {
        apply_a(x, rows);
        apply_at(rows, out);
    };
    for (int axis = 0; axis < 3; axis++) {
        std::vector<double> fixed(n, 0), rhs;
        for (size_t v = 0; v < n; v++) {
            double sum = v < rim ? beyond.sum[v][axis] : 0;
            for (const int u : near[v])
                if (size_t(u) < rim)
                    sum += patch.points[u][axis];
            fixed[v] = weight[v] * sum - (v < rim ? patch.points[v][axis] : 0);
        }
        apply_at(fixed, rhs);
        for (double &r : rhs)
            r = -r;
        std::vector<double> x(unknowns);
        for (size_t k = 0; k < unknowns; k++)
            x[k] = patch.points[rim + k][axis];
        conjugate_gradients(normal_operator, rhs, x, 4000);
        for (size_t k = 0; k < unknowns; k++)
            patch.points[rim + k][axis] = float(x[k]);
    }
}
