// Bilateral smoothing: a flood fill over faces across their edges, in a
// mollifying pass and a projecting pass. The fill and the face terms are in
// face_filter.h, the projecting pass in ordered_projection.cc.

#include "bilateral.h"

#include "face_filter.h"
#include "ordered_projection.h"
#include "parallel.h"
#include "shape_filter_support.h"

void bilateral_smooth(TriMesh &mesh, float sigma_s, float sigma_r)
{
    if (!usable_width(sigma_s, "Bilateral smoothing") ||
        !usable_width(sigma_r, "Bilateral smoothing"))
        return;
    mesh.ensure_faces();
    mesh.ensure_vertex_faces();
    mesh.ensure_across_edge();
    progress_printf("\rSmoothing... ");
    const uint64_t start = now_ticks();
    const size_t nv = mesh.vertices.size(), nf = mesh.faces.size();
    FaceFilter filter(mesh);

    // Pass 1 reads positions that stay as they are: the vertices are
    // independent and spread over the cores.
    const float half = sigma_s / 2.0f;
    const float inv_mollify = 1.0f / (half * half);
    std::vector<Point3> mollified(nv);
    for_each_block(nv, 1024, [&](BlockQueue &queue) {
        FillScratch scratch(nf);
        size_t begin, end;
        while (queue.next(begin, end))
            for (size_t v = begin; v < end; v++)
                mollified[v] =
                    filter.filter<false>(int(v), mesh.vertices[v], inv_mollify, 0.0f, scratch);
    });

    // Pass 2 moves each vertex before the next starts, and the next reads the
    // faces that moved: it works ahead on all cores and settles in order.
    filter.set_planes(mollified);
    project_in_order(filter, mollified, 1.0f / (sigma_s * sigma_s), 1.0f / (sigma_r * sigma_r));

    progress_printf("Done.  Filtering took %f sec.\n", elapsed_seconds(start, now_ticks()));
    mesh.clear_normals();
    clear_shape_data(mesh);
}
