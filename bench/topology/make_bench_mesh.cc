// Writes the benchmark meshes into a folder:
//   torus.ply        a closed bumpy torus of rows x cols jittered quads, each
//                    split along its longer diagonal (so edge flipping has work
//                    everywhere), vertices stored in shuffled order (so
//                    reordering has work), faces in scan order;
//   torus_mixed.ply  the same with about half of the faces reversed.
// Usage: make_bench_mesh folder [rows cols]   (default 1000 x 1000: 2,000,000 triangles)

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>

#include "mesh_io.h"

namespace {

TriMesh bumpy_torus(int rows, int cols, std::mt19937 &rng)
{
    const float two_pi = 6.28318531f;
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    TriMesh m;
    m.vertices.reserve(size_t(rows) * cols);
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            const float u = two_pi * (float(r) + jitter(rng)) / float(rows);
            const float v = two_pi * (float(c) + jitter(rng)) / float(cols);
            const float minor = 0.35f + 0.03f * std::sin(7 * u) * std::cos(5 * v);
            const float ring = 1 + minor * std::cos(v);
            m.vertices.emplace_back(ring * std::cos(u), ring * std::sin(u), minor * std::sin(v));
        }
    auto at = [&](int r, int c) { return (r % rows) * cols + (c % cols); };
    m.faces.reserve(2 * size_t(rows) * cols);
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            const int a = at(r, c), b = at(r + 1, c), d = at(r, c + 1), e = at(r + 1, c + 1);
            if (dist2(m.vertices[a], m.vertices[e]) > dist2(m.vertices[b], m.vertices[d])) {
                m.faces.emplace_back(a, b, e);
                m.faces.emplace_back(a, e, d);
            } else {
                m.faces.emplace_back(a, b, d);
                m.faces.emplace_back(b, e, d);
            }
        }
    return m;
}

void shuffle_vertices(TriMesh &m, std::mt19937 &rng)
{
    std::vector<int> map(m.vertices.size());
    std::iota(map.begin(), map.end(), 0);
    std::shuffle(map.begin(), map.end(), rng);
    m.remap_verts(map);
}

bool write(const std::string &path, TriMesh &m)
{
    if (write_mesh(path.c_str(), m))
        return true;
    std::fprintf(stderr, "make_bench_mesh: cannot write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "Usage: make_bench_mesh folder [rows cols]\n");
        return 1;
    }
    const std::string folder = argv[1];
    const int rows = argc == 4 ? std::atoi(argv[2]) : 1000, cols = argc == 4 ? std::atoi(argv[3]) : 1000;
    if (rows < 3 || cols < 3) {
        std::fprintf(stderr, "make_bench_mesh: rows and cols must be at least 3\n");
        return 1;
    }
    std::mt19937 rng(2024);
    TriMesh m = bumpy_torus(rows, cols, rng);
    shuffle_vertices(m, rng);
    if (!write(folder + "/torus.ply", m))
        return 1;
    for (Face &f : m.faces)
        if (rng() % 2)
            std::swap(f[1], f[2]);
    return write(folder + "/torus_mixed.ply", m) ? 0 : 1;
}
