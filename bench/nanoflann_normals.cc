// Point-cloud normals with nanoflann's k-d tree, as a whole program that reads
// and writes like Stripline with "norm:": the peer of bench/cloud_normals.sh.
// Each point's normal is fitted as the filter fits it (the twelve nearest other
// points, the scatter of their offsets, the eigenvector of least spread turned
// towards +z), the points shared over all cores as the filter does.
// Usage: nanoflann_normals IN OUT

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "TriMesh.h"
#include "cloud_normal.h"
#include "lineqn.h"
#include "mesh_io.h"
#include "nanoflann_cloud.h"
#include "parallel.h"

namespace {

// The point itself and its twelve nearest.
constexpr size_t asked = 13;

// The normal of point i from its twelve nearest other points, or (0, 0, 1)
// when there are fewer than three.
Point3 fitted_normal(const NanoTree &tree, const std::vector<Point3> &pts, size_t i)
{
    std::array<uint32_t, asked> index;
    std::array<float, asked> d2;
    const size_t found = tree.knnSearch(&pts[i].x, asked, index.data(), d2.data());
    std::array<int, asked> offsets;
    size_t count = 0;
    for (size_t j = 0; j < found && count < asked - 1; j++)
        if (index[j] != i)
            offsets[count++] = int(3 * index[j]);
    std::sort(offsets.data(), offsets.data() + std::min(count, asked - 1));
    Point3 n = fit_cloud_normal(pts, int(i), offsets.data(), int(count)).value_or(Point3(0, 0, 1));
    return normalize(n);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: %s IN OUT\n", argv[0]);
        return EXIT_FAILURE;
    }
    std::unique_ptr<TriMesh> mesh = read_mesh(argv[1]);
    if (!mesh)
        return EXIT_FAILURE;
    const std::vector<Point3> &pts = mesh->vertices;
    const NanoCloud cloud{pts};
    const NanoTree tree(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(nano_leaf_size));
    mesh->normals.resize(pts.size());
    for_each_index(pts.size(), 1024, [&](size_t i) { mesh->normals[i] = fitted_normal(tree, pts, i); });
    return write_mesh(("norm:" + std::string(argv[2])).c_str(), *mesh) ? EXIT_SUCCESS : EXIT_FAILURE;
}
