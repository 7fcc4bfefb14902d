// Options that change the surface's topology or storage: strips, vertex order,
// removal, clipping, orientation and flips.

#include "clip_box.h"
#include "edge_flip.h"
#include "options.h"
#include "orient.h"
#include "removal.h"
#include "reorder.h"

namespace {

int build_strips(FilterRun &run, OptionArgs)
{
    run.mesh.ensure_tristrips();
    run.keep_strips = true;
    return 0;
}

int clip(FilterRun &run, OptionArgs args)
{
    read_clip_box(args[0], run.mesh);
    return 1;
}

const Option table[] = {
    {{"-tstrip", "-tstrips", "-strip", "-strips"}, 0, "",
     "build triangle strips and write strips", build_strips},
    {{"-reorder"}, 0, "", "renumber vertices in the order the surface uses them",
     apply_to_mesh<reorder_vertices>},
    {{"-orient"}, 0, "", "wind every piece consistently and turn it outward",
     apply_to_mesh<orient_faces>},
    {{"-faceflip"}, 0, "", "reverse every face", apply_to_mesh<flip_faces>},
    {{"-edgeflip"}, 0, "", "flip edges while that improves the worse triangle of a pair",
     apply_to_mesh<edge_flip>},
    {{"-clip"}, 1, "boxfile", "remove what lies outside the box (min x y z, max x y z)", clip},
    {{"-rmverts"}, 0, "", "remove vertices that no face uses", apply_to_mesh<delete_orphan_vertices>},
    {{"-rmfaces"}, 0, "", "remove long, thin faces", apply_to_mesh<delete_sliver_faces>},
    {{"-erode"}, 0, "", "remove the boundary vertices and the faces on them",
     apply_to_mesh<erode_boundary>},
};

} // namespace

std::span<const Option> topology_options() { return table; }
