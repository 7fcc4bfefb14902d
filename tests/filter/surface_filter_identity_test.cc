// The Gaussian and bilateral filters spread their work over threads and keep
// gathered weights between passes; their results must stay, bit for bit, what
// the plain rules give one vertex at a time, for any number of threads. The
// rules are written out below as directly as they read.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "bilateral.h"
#include "face_filter.h"
#include "gaussian_smooth.h"
#include "lineqn.h"
#include "mesh_io.h"
#include "ordered_projection.h"
#include "parallel.h"
#include "shape_meshes.h"
#include "test_meshes.h"
#include "test_support.h"

namespace {

namespace plain {

float weight(const Point3 &p, const Point3 &q, float inv)
{
    const float d2 = dist2(p, q) * inv;
    return d2 < 9.0f ? std::exp(-0.5f * d2) : 0.0f;
}

// One fill per vertex over the neighbours, summing as it goes.
Point3 vertex_filter(const TriMesh &m, const std::vector<Point3> &field, int v, float inv)
{
    const std::vector<std::vector<int>> &around = m.vertex_neighbors;
    if (around[v].empty())
        return field[v];
    Point3 sum = field[v] * m.point_areas[v];
    float total = m.point_areas[v];
    std::vector<bool> marked(m.vertices.size());
    marked[v] = true;
    std::vector<int> stack(around[v].begin(), around[v].end());
    while (!stack.empty()) {
        const int j = stack.back();
        stack.pop_back();
        if (marked[j])
            continue;
        marked[j] = true;
        const float c = dot(m.normals[v], m.normals[j]);
        if (!(c > 0.0f))
            continue;
        const float g = weight(m.vertices[v], m.vertices[j], inv);
        if (g == 0.0f)
            continue;
        const float w = g * c * m.point_areas[j];
        sum += w * field[j];
        total += w;
        for (const int k : around[j])
            if (!marked[k])
                stack.push_back(k);
    }
    return total > 0.0f ? sum / total : field[v];
}

void normal_smooth(TriMesh &m, float sigma)
{
    m.ensure_normals();
    m.ensure_point_areas();
    m.ensure_vertex_neighbors();
    std::vector<Point3> smoothed(m.vertices.size());
    for (size_t v = 0; v < smoothed.size(); v++) {
        smoothed[v] = vertex_filter(m, m.normals, int(v), 1.0f / (sigma * sigma));
        normalize(smoothed[v]);
    }
    m.normals = smoothed;
}

void gaussian_smooth(TriMesh &m, float sigma)
{
    m.ensure_faces();
    plain::normal_smooth(m, sigma / 2.0f);
    const float inv = 1.0f / (sigma * sigma);
    const size_t nv = m.vertices.size();
    std::vector<Point3> d(nv), e(nv);
    for (size_t v = 0; v < nv; v++)
        d[v] = vertex_filter(m, m.vertices, int(v), inv) - m.vertices[v];
    for (size_t f = 0; f < m.faces.size(); f++) {
        const Face &face = m.faces[f];
        const Point3 centre = (m.vertices[face[0]] + m.vertices[face[1]] + m.vertices[face[2]]) / 3.0f;
        for (int k = 0; k < 3; k++) {
            const int u = face[k];
            if (!(m.point_areas[u] > 0.0f))
                continue;
            const Point3 h = (centre - m.vertices[u]) / 2.0f;
            const float d2 = inv * len2(h);
            const float g = d2 < std::numeric_limits<float>::infinity() ? std::exp(-0.5f * d2) : 0.0f;
            d[u] += g * m.corner_areas[f][k] / m.point_areas[u] * h;
        }
    }
    for (size_t v = 0; v < nv; v++)
        e[v] = vertex_filter(m, d, int(v), inv);
    for (size_t v = 0; v < nv; v++)
        m.vertices[v] += d[v] - e[v];
}

void gaussian_sharpen(TriMesh &m, float sigma)
{
    const std::vector<Point3> old = m.vertices;
    plain::gaussian_smooth(m, sigma);
    for (size_t v = 0; v < old.size(); v++)
        m.vertices[v] = m.vertices[v] + 2.0f * (old[v] - m.vertices[v]);
}

Point3 half_cross(const std::vector<Point3> &p, const Face &f)
{
    return 0.5f * cross(p[f[2]] - p[f[0]], p[f[1]] - p[f[0]]);
}

// One fill per vertex over the faces, reading the current positions; with
// `planes` it projects x onto them.
Point3 face_filter(const TriMesh &m, int v, const Point3 &x, float inv_s, float inv_r,
                   const std::vector<Point3> *planes)
{
    if (m.vertex_faces[v].empty())
        return x;
    Point3 sum;
    float total = 0;
    std::vector<bool> marked(m.faces.size());
    std::vector<int> stack(m.vertex_faces[v].begin(), m.vertex_faces[v].end());
    while (!stack.empty()) {
        const int f = stack.back();
        stack.pop_back();
        if (marked[f])
            continue;
        marked[f] = true;
        const Face &face = m.faces[f];
        const Point3 c = ((m.vertices[face[0]] + m.vertices[face[1]]) + m.vertices[face[2]]) * 0.33333334f;
        const float g = weight(c, x, inv_s);
        if (g == 0.0f)
            continue;
        float w = g * len(half_cross(m.vertices, face));
        if (!planes) {
            sum += w * c;
            total += w;
        } else if (const Point3 &n = (*planes)[f]; n != Point3()) {
            const Point3 q = x - dot(x - c, n) * n;
            w *= weight(q, x, inv_r);
            if (w == 0.0f)
                continue;
            sum += w * q;
            total += w;
        }
        for (int k = 0; k < 3; k++)
            if (const int g2 = m.across_edge[f][k]; g2 != -1 && !marked[g2])
                stack.push_back(g2);
    }
    return total != 0.0f ? sum / total : x;
}

void bilateral_smooth(TriMesh &m, float sigma_s, float sigma_r)
{
    m.ensure_vertex_faces();
    m.ensure_across_edge();
    const size_t nv = m.vertices.size();
    const float half = sigma_s / 2.0f;
    std::vector<Point3> mollified(nv), planes;
    for (size_t v = 0; v < nv; v++)
        mollified[v] = face_filter(m, int(v), m.vertices[v], 1.0f / (half * half), 0.0f, nullptr);
    for (const Face &f : m.faces) {
        Point3 n = half_cross(mollified, f);
        planes.push_back(len2(n) > 0.0f ? normalize(n) : Point3());
    }
    for (size_t v = 0; v < nv; v++)
        m.vertices[v] = face_filter(m, int(v), mollified[v], 1.0f / (sigma_s * sigma_s),
                                    1.0f / (sigma_r * sigma_r), &planes);
}

} // namespace plain

// A grid of 30 x 30 moved by repeatable pseudo-random amounts in x, y and z.
TriMesh noisy_grid()
{
    TriMesh mesh = make_grid_mesh(30);
    uint32_t state = 12345;
    const auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1 << 24) - 0.5f;
    };
    for (Point3 &p : mesh.vertices)
        p += Point3(0.3f * next(), 0.3f * next(), next());
    return mesh;
}

// The noisy grid with its vertices renumbered in a scattered order, so that
// vertices next to each other in the file are far apart on the surface.
TriMesh scattered_grid()
{
    TriMesh mesh = noisy_grid();
    std::vector<int> map(mesh.vertices.size());
    for (size_t i = 0; i < map.size(); i++)
        map[i] = int(i * 577 % map.size());
    mesh.remap_verts(map);
    return mesh;
}

TriMesh sphere_roughened()
{
    TriMesh mesh = make_sphere(4);
    roughen(mesh, 0.03f);
    return mesh;
}

TriMesh sample_torus()
{
    const std::string path = samples_dir() + "/bumpy_torus.ply";
    const std::unique_ptr<TriMesh> mesh = read_mesh(path.c_str());
    return mesh ? *mesh : TriMesh();
}

TriMesh degenerate()
{
    return make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0), Point3(1, 1, 0),
                      Point3(1, 1, 0), Point3(1, 1, 0), Point3(5, 5, 5)},
                     {Face(0, 1, 2), Face(3, 4, 5), Face(4, 4, 5), Face(0, 1, 3)});
}

TriMesh two_cubes_on_one_edge()
{
    TriMesh mesh = make_mesh(cube_vertices(), cube_faces());
    // A second cube, moved by (1, 1, 0), shares the first's edge from vertex 3
    // to 7: four faces meet there, and its own copies of the two (8 and 12)
    // are left without faces.
    for (const Point3 &p : cube_vertices(1))
        mesh.vertices.push_back(Point3(p.x, p.y + 1, p.z));
    for (Face f : cube_faces(8)) {
        for (int k = 0; k < 3; k++)
            f[k] = f[k] == 8 ? 3 : f[k] == 12 ? 7 : f[k];
        mesh.faces.push_back(f);
    }
    return mesh;
}

struct Input {
    const char *name;
    std::function<TriMesh()> make;
};

struct Filter {
    const char *name;
    std::function<void(TriMesh &, float)> ours, plain;
    bool leaves_normals;  // the smoothed normals stay in the mesh
};

// The widths are scaled by this rather than by median_edge_length, whose
// samples depend on what the process drew before.
float mean_edge_length(const TriMesh &mesh)
{
    double sum = 0;
    for (const Face &f : mesh.faces)
        for (int k = 0; k < 3; k++)
            sum += len(mesh.vertices[f[k]] - mesh.vertices[f[(k + 1) % 3]]);
    return float(sum / double(3 * mesh.faces.size()));
}

bool same_bits(const std::vector<Point3> &a, const std::vector<Point3> &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Point3)) == 0;
}

const Input inputs[] = {
    {"sample torus", sample_torus},   {"grid", [] { return make_grid_mesh(40); }},
    {"noisy grid", noisy_grid},       {"scattered grid", scattered_grid},
    {"roughened sphere", sphere_roughened},
    {"degenerate", degenerate},       {"one-sided link", rhombus_with_one_sided_link},
    {"two cubes on an edge", two_cubes_on_one_edge},
};

// The bilateral filter's projecting pass over `mesh` with the given widths,
// starting from positions mollified with half the spatial width.
void project(TriMesh &mesh, float width, Lookahead lookahead)
{
    mesh.ensure_faces();
    mesh.ensure_vertex_faces();
    mesh.ensure_across_edge();
    FaceFilter filter(mesh);
    FillScratch scratch(mesh.faces.size());
    const float inv = 1.0f / (width * width);
    std::vector<Point3> mollified(mesh.vertices.size());
    for (size_t v = 0; v < mollified.size(); v++)
        mollified[v] = filter.filter<false>(int(v), mesh.vertices[v], 4.0f * inv, 0.0f, scratch);
    filter.set_planes(mollified);
    project_in_order(filter, mollified, inv, inv, lookahead);
}

} // namespace

TEST(SurfaceFilterIdentity, every_filter_gives_the_plain_rules_bits_on_any_thread_count)
{
    const Filter filters[] = {
        {"smooth", gaussian_smooth, plain::gaussian_smooth, true},
        {"sharpen", gaussian_sharpen, plain::gaussian_sharpen, true},
        {"smoothnorm", normal_smooth, plain::normal_smooth, true},
        {"bilat", [](TriMesh &m, float w) { bilateral_smooth(m, w, w); },
         [](TriMesh &m, float w) { plain::bilateral_smooth(m, w, w); }, false},
    };
    // The wide width keeps more weights than the memory allowance holds, so
    // that blocks gather again in the second pass.
    for (const Input &input : inputs) {
        const TriMesh original = input.make();
        ASSERT_FALSE(original.vertices.empty()) << input.name;
        const float edge = mean_edge_length(original);
        for (const float width : {0.7f * edge, 2.0f * edge}) {
            for (const Filter &filter : filters) {
                TriMesh expected = original;
                stderr_of([&] { filter.plain(expected, width); });
                for (const size_t threads : {1, 3}) {
                    set_thread_limit(threads);
                    TriMesh mesh = original;
                    stderr_of([&] { filter.ours(mesh, width); });
                    EXPECT_TRUE(same_bits(mesh.vertices, expected.vertices))
                        << input.name << " " << filter.name << " width " << width << " threads " << threads;
                    if (filter.leaves_normals) {
                        EXPECT_TRUE(same_bits(mesh.normals, expected.normals))
                            << input.name << " " << filter.name << " normals, threads " << threads;
                    }
                }
            }
        }
    }
    set_thread_limit(0);
}

// One thread alone moves every block one vertex at a time; working every block
// out ahead, on one thread or several, must give the same bits.
TEST(SurfaceFilterIdentity, the_bilateral_pass_worked_out_ahead_gives_the_same_bits)
{
    for (const Input &input : inputs) {
        const TriMesh original = input.make();
        const float edge = mean_edge_length(original);
        for (const float width : {0.7f * edge, 2.0f * edge}) {
            set_thread_limit(1);
            TriMesh expected = original;
            project(expected, width, Lookahead::when_needed);
            for (const size_t threads : {1, 3}) {
                set_thread_limit(threads);
                TriMesh mesh = original;
                project(mesh, width, Lookahead::always);
                EXPECT_TRUE(same_bits(mesh.vertices, expected.vertices))
                    << input.name << " width " << width << " threads " << threads;
            }
        }
    }
    set_thread_limit(0);
}
