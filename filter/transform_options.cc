// Options that move the mesh: transform files, rotation, translation,
// scaling, and the centring, normalising and principal-axis placements.

#include <cstdio>
#include <cstdlib>

#include "options.h"
#include "transforms.h"
#include "xform_file.h"

namespace {

// Degrees to radians.
constexpr double radians_per_degree = 0.017453292519943295;

// Most values the scale option takes.
constexpr int max_scale_values = 4;

// Applies the transform in the file args[0], or its inverse.
int apply_xform_file(FilterRun &run, OptionArgs args, bool invert)
{
    if (args.empty())
        return incomplete_option;
    Matrix4 xf;
    if (!read_xform_file(args[0], xf)) {
        error_printf("Couldn't open %s\n", args[0]);
        return 1;
    }
    transform_mesh(invert ? inverse(xf) : xf, run.mesh);
    return 1;
}

int xform(FilterRun &run, OptionArgs args) { return apply_xform_file(run, args, false); }

int inverse_xform(FilterRun &run, OptionArgs args) { return apply_xform_file(run, args, true); }

int rotate(FilterRun &run, OptionArgs args)
{
    if (args.size() < 4)
        return incomplete_option;
    float v[4];
    if (!real_values(run, args, v))
        return refused_value;
    rotate_mesh(run.mesh, float(v[0] * radians_per_degree), Point3(v[1], v[2], v[3]));
    return 4;
}

int translate(FilterRun &run, OptionArgs args)
{
    if (args.size() < 3)
        return incomplete_option;
    float v[3];
    if (!real_values(run, args, v))
        return refused_value;
    translate_mesh(run.mesh, Point3(v[0], v[1], v[2]));
    return 3;
}

// Takes 1 to 4 numbers: one (or two, the second unused) for a uniform scale,
// three for a scale along x, y and z, four for a scale by the first along the
// direction of the other three.
int scale(FilterRun &run, OptionArgs args)
{
    float v[max_scale_values];
    int k = 0;
    while (k < max_scale_values && size_t(k) < args.size() && is_number(args[k]) &&
           std::sscanf(args[k], "%f", &v[k]) == 1) {
        if (refuse_non_finite(run, args[k], v[k]))
            return refused_value;
        k++;
    }
    Matrix4 xf;
    switch (k) {
    case 0:
        return incomplete_option;
    case 1:
    case 2:
        xf = Matrix4::scale(v[0]);
        break;
    case 3:
        xf = Matrix4::scale(v[0], v[1], v[2]);
        break;
    default:
        xf = Matrix4::scale(v[0], v[1], v[2], v[3]);
        break;
    }
    transform_mesh(xf, run.mesh);
    return k;
}

const Option options[] = {
    {{"-xf", " "}, 1, "file", "apply the transform in an .xf file", xform},
    {{"-ixf", "-ixform"}, 1, "file", "apply the inverse of the transform in an .xf file",
     inverse_xform},
    {{"-rot", "-rotate"}, 4, "a x y z", "rotate by a degrees about the axis (x, y, z)", rotate},
    {{"-trans", "-translate"}, 3, "x y z", "translate by (x, y, z)", translate},
    {{"-scale"}, 1, "s | s s | sx sy sz | s dx dy dz",
     "scale uniformly, along x, y and z, or by s along the direction d", scale},
    {{"-center"}, 0, "", "move the surface centroid to the origin", apply_to_mesh<center_mesh>},
    {{"-bbcenter"}, 0, "", "move the bounding-box centre to the origin", apply_to_mesh<bbcenter_mesh>},
    {{"-varnorm"}, 0, "", "scale about the centroid to unit root-mean-square distance",
     apply_to_mesh<varnorm_mesh>},
    {{"-bbnorm"}, 0, "", "scale about the box centre so that its largest side is 1",
     apply_to_mesh<bbnorm_mesh>},
    {{"-pcarot"}, 0, "", "rotate the principal axes onto x, y and z", apply_to_mesh<pca_rotate_mesh>},
    {{"-pcasnap"}, 0, "", "permute and flip the axes to the nearest principal axes",
     apply_to_mesh<pca_snap_mesh>},
};

} // namespace

std::span<const Option> transform_options() { return options; }
