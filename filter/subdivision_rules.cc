// Edge and vertex rules of the subdivision schemes.

#include "subdivision_rules.h"

#include <cmath>
#include <numbers>

namespace {

// Stencil weights tabulated for low valences, neighbour 0 first.
constexpr float loop_weights_4[] = {0.3828125f, 0.125f, 0.0078125f, 0.125f};
constexpr float loop_weights_5[] = {0.3945288f, 0.1215267f, 0.01074729f, 0.01074729f, 0.1215267f};
// 5/12 and -1/12, each one unit in the last place off the nearest float.
constexpr float butterfly_weights_3[] = {0.41666669f, -0.083333328f, -0.083333328f};
constexpr float butterfly_weights_4[] = {0.375f, 0.0f, -0.125f, 0.0f};
constexpr float butterfly_weights_5[] = {0.35f, 0.0309017f, -0.080901697f, -0.080901697f,
                                         0.0309017f};

// Loop weights for valence 7 and up.
std::vector<float> loop_weights(int n)
{
    const float alpha = 2.0f * std::numbers::pi_v<float> / float(n);
    const float e = 0.25f * std::cos(alpha) + 0.375f;
    const float f = 2.0f * e * e * e / (float(n) * (1.0f - e));
    std::vector<float> w(n);
    for (int i = 0; i < n; i++) {
        const float c = std::cos(float(i) * alpha);
        const float t = c + 1.0f / e - 1.5f;
        w[i] = (c + 1.0f) * f * (t * t);
    }
    return w;
}

// Butterfly weights for valence 7 and up.
std::vector<float> butterfly_weights(int n)
{
    std::vector<float> w(n);
    for (int i = 0; i < n; i++) {
        const float c = float(std::cos(2.0 * std::numbers::pi * i / n));
        w[i] = (1.0f / float(n)) * (c + c * c - 0.25f);
    }
    return w;
}

} // namespace

float vertex_weight(SubdivScheme scheme, int n)
{
    // Rows: loop, loop_formula, loop_extraordinary; columns: valence 3 to 6.
    static constexpr float table[3][4] = {{0.3438f, 0.4625f, 0.5625f, 0.625f},
                                          {0.4375f, 0.515625f, 0.5795339f, 0.625f},
                                          {0.4375f, 0.5f, 0.545466f, 0.625f}};
    // The other schemes keep their old vertices.
    const int row = int(scheme) - int(SubdivScheme::loop);
    if (row < 0 || row > 2)
        return 1.0f;
    if (n >= 3 && n <= 6)
        return table[row][n - 3];
    if (scheme == SubdivScheme::loop)
        return 0.625f;
    if (scheme == SubdivScheme::loop_formula) {
        const double a = 0.375 + 0.25 * std::cos(2.0 * std::numbers::pi / n);
        return 0.375f + float(a * a);
    }
    const float c = float(std::cos(2.0 * std::numbers::pi / n));
    const float a = 0.375f + 0.25f * c;
    const float q = a * (4.0f + a * (5.0f * a - 8.0f)) / (2.0f * (1.0f - a));
    return 1.0f - q + a * a;
}

std::span<const float> StencilWeights::operator()(int n)
{
    if (butterfly) {
        switch (n) {
        case 3: return butterfly_weights_3;
        case 4: return butterfly_weights_4;
        case 5: return butterfly_weights_5;
        }
    } else {
        switch (n) {
        case 4: return loop_weights_4;
        case 5: return loop_weights_5;
        }
    }
    if (n < 7)
        return {};
    if (size_t(n) >= by_valence.size())
        by_valence.resize(n + 1);
    if (by_valence[n].empty())
        by_valence[n] = butterfly ? butterfly_weights(n) : loop_weights(n);
    return by_valence[n];
}

SubdivisionRules::SubdivisionRules(const TriMesh &mesh, SubdivScheme scheme)
    : mesh(mesh), scheme(scheme),
      weights(scheme == SubdivScheme::butterfly || scheme == SubdivScheme::butterfly_extraordinary)
{
}

Point3 SubdivisionRules::edge_point(int f, int j)
{
    const Face &face = mesh.faces[f];
    const int p = face[(j + 1) % 3], q = face[(j + 2) % 3];
    int g = mesh.across_edge[f][j];
    // A linked face holds both ends of the edge; one that does not (a table
    // made for another face list) counts as no face.
    if (g != -1 && (mesh.corner_index(g, p) == -1 || mesh.corner_index(g, q) == -1))
        g = -1;
    const Point3 midpoint = (at(p) + at(q)) / 2.0f;
    if (scheme == SubdivScheme::midpoint)
        return midpoint;
    if (g == -1)
        return moves_old_vertices(scheme) ? midpoint : four_point(p, q);
    switch (scheme) {
    case SubdivScheme::loop:
    case SubdivScheme::loop_formula:
        return loop_edge(f, j, g);
    case SubdivScheme::butterfly:
        return butterfly_edge(f, j, g);
    default:
        return extraordinary_edge(f, j, g);
    }
}

Point3 SubdivisionRules::loop_edge(int f, int j, int g) const
{
    const Face &face = mesh.faces[f];
    const int p = face[(j + 1) % 3], q = face[(j + 2) % 3], a = face[j];
    const int b = mesh.faces[g][(mesh.corner_index(g, p) + 1) % 3];
    return 0.375f * (at(p) + at(q)) + 0.125f * (at(a) + at(b));
}

Point3 SubdivisionRules::butterfly_edge(int f, int j, int g) const
{
    const Face &face = mesh.faces[f];
    const int p = face[(j + 1) % 3], q = face[(j + 2) % 3], a = face[j];
    const int gp = mesh.corner_index(g, p), gq = mesh.corner_index(g, q);
    const int b = mesh.faces[g][(gp + 1) % 3];
    const Point3 wings = wing(f, (j + 2) % 3) + wing(f, (j + 1) % 3) + wing(g, gp) + wing(g, gq);
    return 0.5f * (at(p) + at(q)) + 0.125f * (at(a) + at(b)) - 0.0625f * wings;
}

Point3 SubdivisionRules::four_point(int p, int q) const
{
    return 0.75f * (at(p) + at(q)) - 0.25f * (boundary_mean(p) + boundary_mean(q));
}

Point3 SubdivisionRules::wing(int F, int c) const
{
    const Face &face = mesh.faces[F];
    const int y = face[(c + 1) % 3], z = face[(c + 2) % 3];
    const int G = mesh.across_edge[F][c];
    if (G != -1)
        return at(mesh.faces[G][(mesh.corner_index(G, y) + 1) % 3]);
    return at(y) + at(z) - at(face[c]);
}

Point3 SubdivisionRules::boundary_mean(int x) const
{
    Point3 sum;
    int count = 0;
    for (const int f : mesh.vertex_faces[x])
        for (int k = 0; k < 3; k++)
            if (mesh.across_edge[f][k] == -1) {
                sum += at(mesh.faces[f][(k + 1) % 3]) + at(mesh.faces[f][(k + 2) % 3]);
                count += 2;
            }
    return count ? sum / float(count) : at(x);
}

std::optional<Point3> SubdivisionRules::stencil(int v, int h)
{
    const int n = valence(v);
    const std::span<const float> w = weights(n);
    if (w.empty())
        return std::nullopt;
    Point3 sum;
    float total = 0;
    int g = h;
    for (int i = 0; i < n; i++) {
        const int c = mesh.corner_index(g, v);
        if (c == -1)
            return std::nullopt;
        total += w[i];
        sum += w[i] * at(mesh.faces[g][(c + 1) % 3]);
        // On to the face across the edge from the vertex before v to v.
        g = mesh.across_edge[g][(c + 1) % 3];
        if (g == -1)
            return std::nullopt;
    }
    if (g != h)
        return std::nullopt;
    return (1.0f - total) * at(v) + sum;
}

Point3 SubdivisionRules::extraordinary_edge(int f, int j, int g)
{
    const Face &face = mesh.faces[f];
    const int p = face[(j + 1) % 3], q = face[(j + 2) % 3];
    const auto regular = [&] {
        return scheme == SubdivScheme::loop_extraordinary ? loop_edge(f, j, g)
                                                          : butterfly_edge(f, j, g);
    };
    const bool p_regular = valence(p) == 6, q_regular = valence(q) == 6;
    if (p_regular && q_regular)
        return regular();
    const auto around = [&](int v, int h) {
        const std::optional<Point3> s = stencil(v, h);
        return s ? *s : regular();
    };
    if (q_regular)
        return around(p, f);
    if (p_regular)
        return around(q, g);
    return (around(p, f) + around(q, g)) / 2.0f;
}

Point3 SubdivisionRules::vertex_point(int v) const
{
    Point3 boundary_sum, interior_sum;
    int boundary_count = 0, interior_count = 0;
    for (const int f : mesh.vertex_faces[v]) {
        const Face &face = mesh.faces[f];
        const int c = mesh.corner_index(f, v);
        // Edge (c + 1) runs from v to the vertex at corner (c + 2), edge
        // (c + 2) from v to the vertex at corner (c + 1).
        for (int s = 1; s <= 2; s++) {
            const Point3 &far = at(face[(c + 3 - s) % 3]);
            if (mesh.across_edge[f][(c + s) % 3] == -1) {
                boundary_sum += far;
                boundary_count++;
            } else {
                interior_sum += far;
                interior_count++;
            }
        }
    }
    Point3 mean;
    float w;
    if (boundary_count > 0) {
        mean = boundary_sum / float(boundary_count);
        w = 0.75f;
    } else if (interior_count == 0) {
        return at(v);
    } else {
        mean = interior_sum / float(interior_count);
        w = vertex_weight(scheme, interior_count / 2);
    }
    return at(v) * w + mean * (1.0f - w);
}
