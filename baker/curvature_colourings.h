#pragma once
// The colourings that shade the surface by its principal curvatures: "shape"
// (hue and saturation from the kind of curvature) and "ao" (grey from the mean
// curvature), and the curvature-based length scale they share with "acc".

#include "TriMesh.h"

// A length scale of the mesh's curved features: 0.01 divided by the tenth
// percentile of |principal curvature| over a random sample of at most 500
// vertices (both curvatures of each), or the bounding sphere's radius when that
// percentile is 0. The samples come from a generator of its own that starts at
// 0 in each process and is never reset, so successive calls draw different
// samples. Calls ensure_curvatures (and ensure_bounding_sphere for the
// fallback). Prints "Feature size = %f\n" to the standard error stream.
float curvature_feature_size(TriMesh &mesh);

// "shape": with scale = scale_factor * 10 * curvature_feature_size(), each
// vertex gets hsv_to_rgb(4/3 |atan2(H^2 - K, sgn(H) H^2)|,
// 2 pi atan(scale^2 (2 H^2 - K)), 1), H and K the mean and Gaussian curvature:
// red on spheres, green on saddles, white where flat. When smoothing > 0 the
// curvatures are first smoothed with width smoothing * median_edge_length().
// Calls ensure_curvatures. Refuses a scale whose square does not fit a float
// (returns false after a message, colours unchanged).
bool bake_shape(TriMesh &mesh, double scale_factor, double smoothing);

// "ao": scale and smoothing as for "shape"; each vertex gets the grey
// (atan(scale H) + pi/2) / pi, 0.5 where flat. Refuses a scale as "shape" does.
bool bake_mean_curvature_shading(TriMesh &mesh, double scale_factor, double smoothing);
