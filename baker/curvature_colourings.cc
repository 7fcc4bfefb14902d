// Curvature shading: the feature size from a sample of curvatures, the
// optional smoothing, and the two colourings built on them.

#include "curvature_colourings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "curvature_smoothing.h"
#include "hsv_colour.h"
#include "parallel.h"

namespace {

// The sample sequence of curvature_feature_size, shared by the whole process:
// a 32-bit linear congruential generator that starts at 0 and is never reset.
uint32_t feature_seed = 0;

uint32_t next_feature_sample()
{
    feature_seed = feature_seed * 1664525u + 1013904223u;
    return feature_seed;
}

// What "shape" and "ao" share: the curvatures, smoothed when asked, and the
// scale; false (after a message) when the scale does not fit a float.
bool prepare_curvature_shading(TriMesh &mesh, const char *operation, double scale_factor,
                               double smoothing, float &scale)
{
    mesh.ensure_curvatures();
    if (smoothing > 0.0)
        smooth_curvatures(mesh, float(mesh.median_edge_length() * smoothing));
    scale = float(scale_factor * 10.0 * curvature_feature_size(mesh));
    progress_printf("Using scale = %f\n", double(scale));
    // "shape" squares the scale; an endless scale times a zero curvature would
    // not be a number.
    if (std::isfinite(scale * scale))
        return true;
    error_printf("%s: scale %g times 10 times the feature size is too large to shade with.\n", operation,
                 scale_factor);
    return false;
}

} // namespace

float curvature_feature_size(TriMesh &mesh)
{
    mesh.ensure_curvatures();
    const size_t n = mesh.principal_curv1.size();
    const size_t samples = std::min<size_t>(n, 500);
    std::vector<float> values;
    values.reserve(2 * samples);
    // A curvature that is not a number counts as endless, so that the
    // ordering below stays well defined.
    const auto magnitude = [](float k) { return std::isnan(k) ? std::numeric_limits<float>::infinity() : std::abs(k); };
    for (size_t s = 0; s < samples; s++) {
        const double r = double(next_feature_sample()) / 4294967296.0;
        const size_t index = std::min(size_t(r * double(n)), n - 1);
        values.push_back(magnitude(mesh.principal_curv1[index]));
        values.push_back(magnitude(mesh.principal_curv2[index]));
    }
    float chosen = 0;
    if (!values.empty()) {
        const auto kth = values.begin() + ptrdiff_t(0.1 * double(values.size()));
        std::nth_element(values.begin(), kth, values.end());
        chosen = *kth;
    }
    float size = 0.01f / chosen;
    if (!std::isfinite(size)) {
        mesh.ensure_bounding_sphere();
        size = mesh.bounding_sphere.radius;
    }
    std::fprintf(stderr, "Feature size = %f\n", double(size));
    return size;
}

bool bake_shape(TriMesh &mesh, double scale_factor, double smoothing)
{
    float scale;
    if (!prepare_curvature_shading(mesh, "shape", scale_factor, smoothing, scale))
        return false;
    const float scale2 = scale * scale;
    for_each_index(mesh.vertices.size(), 1024, [&](size_t i) {
        const float k1 = mesh.principal_curv1[i], k2 = mesh.principal_curv2[i];
        const float H = (k1 + k2) * 0.5f, K = k1 * k2, H2 = H * H;
        const float sgn = H < 0.0f ? -1.0f : 1.0f;
        const float hue = 4.0f / 3.0f * std::abs(std::atan2(H2 - K, sgn * H2));
        const float saturation = 6.2831855f * std::atan(scale2 * (2.0f * H2 - K));
        mesh.colors[i] = hsv_to_rgb(hue, saturation, 1.0f);
    });
    return true;
}

bool bake_mean_curvature_shading(TriMesh &mesh, double scale_factor, double smoothing)
{
    float scale;
    if (!prepare_curvature_shading(mesh, "ao", scale_factor, smoothing, scale))
        return false;
    const float half_pi = 1.5707964f, pi = 3.1415927f;
    for_each_index(mesh.vertices.size(), 1024, [&](size_t i) {
        const float H = (mesh.principal_curv1[i] + mesh.principal_curv2[i]) * 0.5f;
        const float c = (std::atan(scale * H) + half_pi) / pi;
        mesh.colors[i] = Color(c, c, c);
    });
    return true;
}
