// Options that change per-vertex attributes and the surface's storage form.

#include <cstdlib>

#include "options.h"

namespace {

int add_white_colors(FilterRun &run, OptionArgs)
{
    if (run.mesh.colors.empty())
        run.mesh.colors.assign(run.mesh.vertices.size(), Color(1, 1, 1));
    return 0;
}

int remove_colors(FilterRun &run, OptionArgs)
{
    run.mesh.colors.clear();
    return 0;
}

// With a number after it, every vertex gets that confidence; without one,
// vertices without confidences get 1.
int set_confidences(FilterRun &run, OptionArgs args)
{
    TriMesh &mesh = run.mesh;
    if (!args.empty() && is_number(args[0])) {
        float c;
        if (!real_values(run, args, {&c, 1}))
            return refused_value;
        mesh.confidences.assign(mesh.vertices.size(), c);
        return 1;
    }
    if (mesh.confidences.empty())
        mesh.confidences.assign(mesh.vertices.size(), 1.0f);
    return 0;
}

int remove_confidences(FilterRun &run, OptionArgs)
{
    run.mesh.confidences.clear();
    return 0;
}

int unpack_strips(FilterRun &run, OptionArgs)
{
    run.mesh.ensure_faces();
    run.mesh.tristrips.clear();
    run.keep_strips = false;
    return 0;
}

int drop_grid(FilterRun &run, OptionArgs)
{
    run.mesh.ensure_faces();
    run.mesh.range_grid.clear();
    return 0;
}

const Option table[] = {
    {{"-col", "-colors"}, 0, "", "give every vertex white colour unless it has colours", add_white_colors},
    {{"-remcol"}, 0, "", "remove vertex colours", remove_colors},
    {{"-conf"}, 0, "[c]", "set every confidence to c, or add confidence 1 where there is none",
     set_confidences},
    {{"-noconf"}, 0, "", "remove confidences", remove_confidences},
    {{"-notstrip", "-notstrips", "-nostrip", "-nostrips", "-unstrip"}, 0, "",
     "unpack triangle strips into faces and write faces", unpack_strips},
    {{"-nogrid"}, 0, "", "triangulate the range grid and drop it", drop_grid},
};

} // namespace

std::span<const Option> attribute_options() { return table; }
