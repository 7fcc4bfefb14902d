// The alignment's outer loop: preparing the meshes, the sequence of steps and
// the stopping rule, and the overlap tables that the sampling is limited to.

#include "align.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "overlap_grid.h"

namespace {

// Half the diagonal of the mesh's bounding box (0 without vertices).
float half_diagonal(TriMesh &mesh)
{
    mesh.ensure_bounding_box();
    const BoundingBox &box = mesh.bounding_box;
    return box.valid ? 0.5f * len(box.max - box.min) : 0.0f;
}

// The distribution that samples every vertex alike: entry i is (i + 1) / n.
std::vector<float> uniform_cdf(size_t n)
{
    std::vector<float> cdf(n);
    for (size_t i = 0; i < n; i++)
        cdf[i] = float(i + 1) / float(n);
    return cdf;
}

// side.overlap: which of its vertices, placed in the other mesh's
// coordinates, lie in the space the other mesh occupies.
void mark_side(AlignSide &side, const AlignSide &other, const OccupancyGrid &other_grid)
{
    const Matrix4 to_other = inverse(other.xf) * side.xf;
    const std::vector<Point3> &vertices = side.mesh.vertices;
    side.overlap.resize(vertices.size());
    for (size_t i = 0; i < vertices.size(); i++)
        side.overlap[i] = other_grid.occupied(to_other * vertices[i]) ? 1.0f : 0.0f;
}

// Point-to-plane steps after the first one, at the most.
constexpr int max_plane_steps = 100;

// Of the last seven steps, this many no better than the one before end the
// iteration.
constexpr int stalled_steps = 5;

} // namespace

float align_meshes(TriMesh &mesh2, TriMesh &mesh1, Matrix4 &xf2, const Matrix4 &xf1)
{
    const KDtree tree1(mesh1.vertices), tree2(mesh2.vertices);
    Registration reg{{mesh1, xf1, tree1}, {mesh2, xf2, tree2}};
    const float error = register_meshes(reg);
    xf2 = reg.mesh2.xf;
    return error;
}

void prepare_registration(Registration &reg)
{
    for (AlignSide *side : {&reg.mesh1, &reg.mesh2}) {
        TriMesh &mesh = side->mesh;
        mesh.ensure_normals();
        if (!mesh.faces.empty() || !mesh.tristrips.empty()) {
            mesh.ensure_vertex_neighbors();
            mesh.ensure_vertex_faces();
        }
    }
    if (reg.maxdist <= 0) {
        const float d1 = half_diagonal(reg.mesh1.mesh), d2 = half_diagonal(reg.mesh2.mesh);
        reg.maxdist = d1 < d2 ? d1 : d2;
    }
    reg.mesh1.cdf = uniform_cdf(reg.mesh1.mesh.vertices.size());
    reg.mesh2.cdf = uniform_cdf(reg.mesh2.mesh.vertices.size());
    reg.incr = 0.08f;
}

float register_meshes(Registration &reg)
{
    prepare_registration(reg);
    const uint64_t start = now_ticks();
    for (int i = 0; i < 7; i++)
        if (point_step(reg, i < 2) < 0)
            return -1;
    if (reg.mesh1.overlap.size() != reg.mesh1.mesh.vertices.size() ||
        reg.mesh2.overlap.size() != reg.mesh2.mesh.vertices.size())
        mark_overlaps(reg);
    float error = plane_step(reg, true);
    progress_printf("Time for initial iterations: %.2f msec.\n\n", elapsed_msec(start));
    if (error < 0)
        return error;

    uint8_t worse = 0;  // one bit per step, the latest lowest: 1 = no better
    int iter = 0;
    for (; iter < max_plane_steps; iter++) {
        const float last_error = error;
        progress_printf("Using incr = %f\n", reg.incr);
        const uint64_t step_start = now_ticks();
        const bool renew = iter % 10 == 9;
        if (renew)
            mark_overlaps(reg);
        error = plane_step(reg, renew);
        progress_printf("Time for this iteration: %.2f msec.\n\n", elapsed_msec(step_start));
        if (error < 0)
            return error;
        worse = uint8_t(((worse << 1) | (error >= last_error)) & 0x7f);
        if (std::popcount(worse) >= stalled_steps)
            break;
    }
    progress_printf("Did %d iterations\n\n", iter);

    progress_printf("Last iteration...\n");
    reg.incr /= 4;
    progress_printf("Using incr = %f\n", reg.incr);
    const uint64_t step_start = now_ticks();
    error = plane_step(reg, false);
    progress_printf("Time for this iteration: %.2f msec.\n\n", elapsed_msec(step_start));
    return error;
}

void mark_overlaps(Registration &reg)
{
    const uint64_t start = now_ticks();
    const OccupancyGrid grid1(reg.mesh1.mesh.vertices), grid2(reg.mesh2.mesh.vertices);
    if (reg.maxdist <= 0)
        reg.maxdist = std::min(grid1.cell_size(), grid2.cell_size());
    mark_side(reg.mesh1, reg.mesh2, grid2);
    mark_side(reg.mesh2, reg.mesh1, grid1);
    progress_printf("Computed overlaps in %.2f msec.\n", elapsed_msec(start));
}
