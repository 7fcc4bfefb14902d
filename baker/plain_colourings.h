#pragma once
// The colourings that need no surface analysis: one colour everywhere ("col"),
// normal directions ("norm"), remapping of the existing colours ("colRemap")
// and depth along a direction ("depth"). Each overwrites every entry of
// `colors`, which must hold one entry per vertex.

#include <cstdint>

#include "TriMesh.h"

// "col": every vertex gets the colour 0xRRGGBB (bits above 24 are ignored),
// each byte times 1/255.
void bake_uniform_colour(TriMesh &mesh, uint32_t rrggbb);

// "norm": each vertex gets 0.5 + 0.5 * its unit normal. Calls ensure_normals.
void bake_normal_colours(TriMesh &mesh);

// "colRemap": each component c of every colour becomes
// pow(offset + scale * c, 1 / gamma), in float. Refuses, with a message that
// names the argument and without changing the colours, a gamma of 0 and
// arguments that would make any component not a finite number (a negative
// base with a fractional exponent, a zero base with a negative exponent);
// returns false then.
bool remap_colours(TriMesh &mesh, float scale, float offset, float gamma);

// "depth": t = direction . position for every vertex (the direction is not
// normalised); lo and hi are the k-th smallest and (count - k - 1)-th smallest
// t with k = fraction * count (truncated) when fraction > 0, else the least and
// the greatest t; each vertex gets the grey (t - lo) / (hi - lo), below 0 or
// above 1 outside the central range. Refuses, with a message and without
// changing the colours, a fraction below 0 or of 0.5 or more, and a direction
// along which lo and hi coincide (all vertices at the same depth); returns
// false then.
bool bake_depth(TriMesh &mesh, const Point3 &direction, float fraction);
