// Alignment of a mesh onto a moved copy of itself, timed stage by stage:
// normals and adjacency (which register_meshes would otherwise compute
// first), the two closest-point trees, and the iterations of register_meshes.
// The copy starts 3 degrees and 2.5 percent of the mesh's size away; the true
// answer is the identity, so the residual motion of the vertices measures how
// well the alignment converged.
// Usage: align_bench mesh.ply [repeats]
// Prints the start transform (row by row) on a line "start=...", then one line
// per run with the times in seconds, the RMS error that register_meshes
// returns, the RMS residual displacement of the vertices and the mesh's size
// (its bounding-box diagonal). The alignment's progress goes to standard error.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "align.h"
#include "mesh_io.h"

namespace {

// Seconds that `work` takes.
template <typename Work>
double timed(Work &&work)
{
    const uint64_t start = now_ticks();
    work();
    return elapsed_seconds(start, now_ticks());
}

// Root mean square distance that xf moves the vertices by.
double rms_motion(const std::vector<Point3> &vertices, const Matrix4 &xf)
{
    double sum = 0;
    for (const Point3 &p : vertices)
        sum += dist2(xf * p, p);
    return std::sqrt(sum / double(vertices.size()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: align_bench mesh.ply [repeats]\n");
        return EXIT_FAILURE;
    }
    const auto mesh = read_mesh(argv[1]);
    if (!mesh)
        return EXIT_FAILURE;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;

    mesh->ensure_bounding_box();
    const Point3 lo = mesh->bounding_box.min, hi = mesh->bounding_box.max;
    const float size = len(hi - lo);
    const Point3 centre = 0.5f * (lo + hi);
    const Matrix4 start = Matrix4::translation(0.015 * size, -0.015 * size, 0.013 * size) *
                          Matrix4::translation(centre.x, centre.y, centre.z) *
                          Matrix4::rotation(3 * std::numbers::pi / 180, 1, 2, 3) *
                          Matrix4::translation(-centre.x, -centre.y, -centre.z);
    std::printf("start=");
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++)
            std::printf("%s%.17g", r + c ? "," : "", start(r, c));
    std::printf("\n");

    for (int run = 0; run < repeats; run++) {
        TriMesh mesh1 = *mesh, mesh2 = *mesh;
        const double normals = timed([&] {
            mesh1.ensure_normals();
            mesh2.ensure_normals();
        });
        const double adjacency = timed([&] {
            for (TriMesh *m : {&mesh1, &mesh2}) {
                m->ensure_vertex_neighbors();
                m->ensure_vertex_faces();
            }
        });
        float error = -1;
        Matrix4 xf2 = start;
        double trees = 0, iterations = 0;
        {
            std::unique_ptr<KDtree> tree1, tree2;
            trees = timed([&] {
                tree1 = std::make_unique<KDtree>(mesh1.vertices);
                tree2 = std::make_unique<KDtree>(mesh2.vertices);
            });
            Registration reg{{mesh1, Matrix4(), *tree1}, {mesh2, start, *tree2}};
            iterations = timed([&] { error = register_meshes(reg); });
            xf2 = reg.mesh2.xf;
        }
        std::printf("normals=%.4f adjacency=%.4f trees=%.4f iterations=%.4f total=%.4f "
                    "rms=%.4g residual=%.4g size=%.6g\n",
                    normals, adjacency, trees, iterations, normals + adjacency + trees + iterations,
                    double(error), rms_motion(mesh->vertices, xf2), double(size));
        std::fflush(stdout);
    }
    return EXIT_SUCCESS;
}
