#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "KDtree.h"
#include "TriMesh.h"
#include "cloud_normal.h"
#include "lineqn.h"
#include "mesh_io.h"
#include "test_support.h"

namespace {

struct Random {
    uint32_t state = 777;
    float next()  // in [0, 1)
    {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1u << 24);
    }
};

// Point-cloud normals the plain way: twelve successive closest-point searches
// per vertex, each excluding the vertex and the points found before, and the
// plane fitted to them. Also the warnings that the vertices with too few
// neighbours get.
std::vector<Point3> successive_search_normals(const std::vector<Point3> &pts, std::string &warnings)
{
    const KDtree tree(pts);
    const float *first = &pts[0].x;
    std::vector<Point3> normals;
    for (size_t i = 0; i < pts.size(); i++) {
        NotInSet found(first);
        found.insert(int(3 * i));
        for (int k = 0; k < 12; k++) {
            const float *q = tree.closest_point(first + 3 * i, 0.0f, &found);
            if (!q)
                break;
            found.insert(int(q - first));
        }
        std::vector<int> offsets;
        for (const int offset : found)
            if (offset != int(3 * i))
                offsets.push_back(offset);
        const std::optional<Point3> n = fit_cloud_normal(pts, int(i), offsets.data(), int(offsets.size()));
        if (!n)
            warnings += "Warning: not enough points for vertex " + std::to_string(i) + "\n";
        Point3 unit = n.value_or(Point3(0, 0, 1));
        normals.push_back(normalize(unit));
    }
    return normals;
}

std::vector<Point3> random_cloud()
{
    Random rnd;
    std::vector<Point3> pts;
    for (int i = 0; i < 3000; i++)
        pts.emplace_back(rnd.next(), rnd.next(), 0.2f * rnd.next());
    return pts;
}

// Whole-number grids tie exactly; a grid of tenths ties only up to rounding.
std::vector<Point3> grid(int nx, int ny, int nz, float step, float origin)
{
    std::vector<Point3> pts;
    for (int z = 0; z < nz; z++)
        for (int y = 0; y < ny; y++)
            for (int x = 0; x < nx; x++)
                pts.emplace_back(origin + step * x, origin + step * y, origin + step * z);
    return pts;
}

// Every point twice or three times over, in shuffled order, and a clump of
// twenty copies of one point.
std::vector<Point3> duplicated_cloud()
{
    Random rnd;
    std::vector<Point3> pts;
    for (int i = 0; i < 500; i++) {
        const Point3 p(rnd.next(), rnd.next(), rnd.next());
        pts.push_back(p);
        pts.insert(pts.begin() + std::ptrdiff_t(rnd.next() * float(pts.size())), p);
        if (i % 3 == 0)
            pts.push_back(p);
    }
    pts.insert(pts.end(), 20, Point3(0.5f, 0.5f, 0.5f));
    return pts;
}

// Vertex 0 has eleven neighbours within 1, then (8, 0, 0) and, a hair
// farther, (0, 8 + 2^-20, 0). The first of these two ends a row of points
// whose cell is so large that a search whose best distance is the second one
// rounds the cell's test to "too far": the twelfth search returns the second.
std::vector<Point3> cell_test_decided_by_rounding()
{
    Random rnd;
    std::vector<Point3> pts = {Point3(0, 0, 0)};
    for (int i = 0; i < 11; i++)
        pts.emplace_back(rnd.next() - 0.5f, rnd.next() - 0.5f, rnd.next() - 0.5f);
    pts.emplace_back(0, std::nextafter(8.0f, 9.0f), 0);
    pts.emplace_back(-1000, 0, 0);  // puts the root's split between the rest and the row
    for (int i = 0; i < 8; i++)
        pts.emplace_back(8 + 1000 * i / 7.0f, 0, 0);
    return pts;
}

std::vector<Point3> scanned_sample()
{
    return read_mesh((samples_dir() + "/bumpy_torus.ply").c_str())->vertices;
}

std::vector<Point3> first_of(std::vector<Point3> pts, size_t n)
{
    pts.resize(n);
    return pts;
}

} // namespace

TEST(CloudNormals, equal_those_of_successive_searches_bit_for_bit)
{
    const struct {
        const char *name;
        std::function<std::vector<Point3>()> cloud;
    } cases[] = {
        {"random", random_cloud},
        {"whole-number grid", [] { return grid(12, 11, 10, 1.0f, 0.0f); }},
        {"flat grid of tenths", [] { return grid(40, 35, 1, 0.1f, 0.3f); }},
        {"grid of tenths", [] { return grid(12, 12, 12, 0.1f, 0.7f); }},
        {"duplicates", duplicated_cloud},
        {"cell test decided by rounding", cell_test_decided_by_rounding},
        {"scanned sample", scanned_sample},
        {"three points", [] { return first_of(random_cloud(), 3); }},
        {"four points", [] { return first_of(random_cloud(), 4); }},
        {"eight points", [] { return first_of(random_cloud(), 8); }},
        {"eight points in a row", [] { return grid(8, 1, 1, 1.0f, 0.0f); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TriMesh cloud = make_mesh(c.cloud());
        std::string warnings;
        const std::vector<Point3> expected = successive_search_normals(cloud.vertices, warnings);
        const std::string log = stderr_of([&] { cloud.ensure_normals(); });
        ASSERT_EQ(cloud.normals.size(), expected.size());
        EXPECT_EQ(std::memcmp(cloud.normals.data(), expected.data(), expected.size() * sizeof(Point3)), 0);
        EXPECT_EQ(log, "Computing normals... " + warnings + "Done.\n");
    }
}
