// Point-cloud normals with nanoflann's k-d tree, as a whole program that reads
// and writes like Stripline with "norm:": the peer of bench/cloud_normals.sh.
// Each point's normal is fitted as the filter fits it (the twelve nearest other
// points, the scatter of their offsets, the eigenvector of least spread turned
// towards +z), the points shared over all cores as the filter does.
// Usage: nanoflann_normals IN OUT

#include <nanoflann.hpp>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "TriMesh.h"
#include "lineqn.h"
#include "mesh_io.h"
#include "parallel.h"

namespace {

struct Cloud {
    const std::vector<Point3> &pts;
    size_t kdtree_get_point_count() const { return pts.size(); }
    float kdtree_get_pt(size_t i, size_t dim) const { return pts[i][int(dim)]; }
    template <class Box>
    bool kdtree_get_bbox(Box &) const { return false; }
};

using NanoTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<float, Cloud>, Cloud, 3>;

// The point itself and its twelve nearest.
constexpr size_t asked = 13;

Point3 fitted_normal(const NanoTree &tree, const std::vector<Point3> &pts, size_t i)
{
    std::array<uint32_t, asked> index;
    std::array<float, asked> d2;
    const size_t found = tree.knnSearch(&pts[i].x, asked, index.data(), d2.data());
    SquareMatrix<float, 3> scatter{};
    size_t used = 0;
    for (size_t j = 0; j < found && used < asked - 1; j++) {
        if (index[j] == i)
            continue;
        const Point3 d = pts[index[j]] - pts[i];
        for (int r = 0; r < 3; r++)
            for (int c = 0; c < 3; c++)
                scatter[r][c] += d[r] * d[c];
        used++;
    }
    if (used < 3)
        return Point3(0, 0, 1);
    std::array<float, 3> eigenvalues;
    eigen_symmetric(scatter, eigenvalues);
    Point3 n(scatter[0][0], scatter[1][0], scatter[2][0]);
    if (n.z < 0.0f)
        n = -n;
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
    const Cloud cloud{pts};
    const NanoTree tree(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    mesh->normals.resize(pts.size());
    for_each_index(pts.size(), 1024, [&](size_t i) { mesh->normals[i] = fitted_normal(tree, pts, i); });
    return write_mesh(("norm:" + std::string(argv[2])).c_str(), *mesh) ? EXIT_SUCCESS : EXIT_FAILURE;
}
