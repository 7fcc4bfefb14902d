// Colourings straight from a colour, the normals, the old colours or the
// positions.

#include "plain_colourings.h"

#include <algorithm>
#include <cmath>
#include <vector>

void bake_uniform_colour(TriMesh &mesh, uint32_t rrggbb)
{
    const float byte = 0.003921569f;  // 1 / 255
    const Color c(float(rrggbb >> 16 & 255) * byte, float(rrggbb >> 8 & 255) * byte,
                  float(rrggbb & 255) * byte);
    std::fill(mesh.colors.begin(), mesh.colors.end(), c);
}

void bake_normal_colours(TriMesh &mesh)
{
    mesh.ensure_normals();
    for (size_t i = 0; i < mesh.colors.size(); i++) {
        const Point3 &n = mesh.normals[i];
        mesh.colors[i] = Color(0.5f + 0.5f * n.x, 0.5f + 0.5f * n.y, 0.5f + 0.5f * n.z);
    }
}

bool remap_colours(TriMesh &mesh, float scale, float offset, float gamma)
{
    if (gamma == 0.0f) {
        error_printf("colRemap: gamma 0 cannot be used (the exponent 1 / gamma would be endless).\n");
        return false;
    }
    const float exponent = 1.0f / gamma;
    std::vector<Color> remapped(mesh.colors.size());
    for (size_t i = 0; i < remapped.size(); i++)
        for (int k = 0; k < 3; k++) {
            const float base = offset + scale * mesh.colors[i][k];
            remapped[i][k] = std::pow(base, exponent);
            if (!std::isfinite(remapped[i][k])) {
                error_printf("colRemap: scale %g, offset %g and gamma %g make vertex %zu's colour "
                             "(%g ^ %g) not a finite number.\n",
                             double(scale), double(offset), double(gamma), i, double(base), double(exponent));
                return false;
            }
        }
    mesh.colors.swap(remapped);
    return true;
}

bool bake_depth(TriMesh &mesh, const Point3 &direction, float fraction)
{
    if (!(fraction >= 0.0f && fraction < 0.5f)) {
        error_printf("depth: fraction %g cannot be used (it must be at least 0 and below 0.5).\n",
                     double(fraction));
        return false;
    }
    const size_t n = mesh.vertices.size();
    std::vector<float> t(n);
    for (size_t i = 0; i < n; i++)
        t[i] = dot(direction, mesh.vertices[i]);
    float lo = 0, hi = 0;
    if (n > 0) {
        std::vector<float> sorted = t;
        if (fraction > 0.0f) {
            const size_t k = size_t(double(fraction) * double(n));
            std::nth_element(sorted.begin(), sorted.begin() + k, sorted.end());
            lo = sorted[k];
            std::nth_element(sorted.begin(), sorted.begin() + (n - k - 1), sorted.end());
            hi = sorted[n - k - 1];
        } else {
            const auto [min, max] = std::minmax_element(sorted.begin(), sorted.end());
            lo = *min;
            hi = *max;
        }
    }
    const float factor = 1.0f / (hi - lo);
    if (!(hi > lo) || !std::isfinite(factor)) {
        error_printf("depth: along the direction (%g, %g, %g) the vertices%s span no depth "
                     "(from %g to %g), so there is nothing to shade.\n",
                     double(direction.x), double(direction.y), double(direction.z),
                     fraction > 0.0f ? " of the central range" : "", double(lo), double(hi));
        return false;
    }
    for (size_t i = 0; i < n; i++) {
        const float grey = (t[i] - lo) * factor;
        mesh.colors[i] = Color(grey, grey, grey);
    }
    return true;
}
