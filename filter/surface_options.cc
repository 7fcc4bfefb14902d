// Options that reshape the surface: subdivision, smoothing, sharpening, the
// offset surface and noise. Widths, distances and amplitudes are given in
// multiples of the mesh's feature size (median_edge_length at that moment).

#include <cstdlib>

#include "bilateral.h"
#include "displace.h"
#include "gaussian_smooth.h"
#include "options.h"
#include "subdivide.h"
#include "taubin.h"

namespace {

template <SubdivScheme scheme>
int subdivide_mesh(FilterRun &run, OptionArgs)
{
    subdivide(run.mesh, scheme);
    return 0;
}

// An operation of one width or distance, given in feature sizes.
template <void (*operation)(TriMesh &, float)>
int scaled(FilterRun &run, OptionArgs args)
{
    float amount;
    if (!real_values(run, args, {&amount, 1}))
        return refused_value;
    operation(run.mesh, amount * run.mesh.median_edge_length());
    return 1;
}

// Gaussian smoothing and sharpening leave the smoothed normals behind, which
// no longer fit the surface; they go, with the point areas.
template <void (*operation)(TriMesh &, float)>
int gaussian(FilterRun &run, OptionArgs args)
{
    if (scaled<operation>(run, args) == refused_value)
        return refused_value;
    run.mesh.clear_point_areas();
    run.mesh.clear_normals();
    return 1;
}

// Both widths are scaled by one feature size.
int bilateral(FilterRun &run, OptionArgs args)
{
    float widths[2];
    if (!real_values(run, args, widths))
        return refused_value;
    const float size = run.mesh.median_edge_length();
    bilateral_smooth(run.mesh, widths[0] * size, widths[1] * size);
    run.mesh.clear_normals();
    return 2;
}

int smooth_rounds(FilterRun &run, OptionArgs args)
{
    taubin_smooth(run.mesh, std::atoi(args[0]));
    return 1;
}

const Option options[] = {
    {{"-subD"}, 0, "", "subdivide: new vertices at edge midpoints",
     subdivide_mesh<SubdivScheme::midpoint>},
    {{"-subDloop"}, 0, "", "subdivide by Loop's scheme", subdivide_mesh<SubdivScheme::loop>},
    {{"-loop2"}, 0, "", "subdivide by Loop's scheme with its closed-form vertex weights",
     subdivide_mesh<SubdivScheme::loop_formula>},
    {{"-loop3"}, 0, "", "subdivide by Loop's scheme with stencils at extraordinary vertices",
     subdivide_mesh<SubdivScheme::loop_extraordinary>},
    {{"-fly2"}, 0, "", "subdivide by the butterfly scheme",
     subdivide_mesh<SubdivScheme::butterfly>},
    {{"-subDfly"}, 0, "",
     "subdivide by the butterfly scheme with stencils at extraordinary vertices",
     subdivide_mesh<SubdivScheme::butterfly_extraordinary>},
    {{"-smooth"}, 1, "s", "Gaussian smoothing of width s", gaussian<gaussian_smooth>},
    {{"-bilat"}, 2, "s r", "bilateral smoothing of spatial width s and range width r", bilateral},
    {{"-sharpen"}, 1, "s", "Gaussian sharpening of width s", gaussian<gaussian_sharpen>},
    {{"-smoothnorm"}, 1, "s", "Gaussian smoothing of the normals with width s",
     scaled<normal_smooth>},
    {{"-smooth2"}, 1, "n", "n rounds of neighbour-average smoothing that keeps the volume",
     smooth_rounds},
    {{"-inflate"}, 1, "d", "move every vertex by d along its normal",
     scaled<offset_along_normals>},
    {{"-noise"}, 1, "s", "random displacement of amplitude s", scaled<noise_displace>},
};

} // namespace

std::span<const Option> surface_options() { return options; }
