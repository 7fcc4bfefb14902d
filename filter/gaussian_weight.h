#pragma once
// The Gaussian weight that the surface filters share, inline so that their
// inner loops do not call out for it.

#include <cmath>

#include "Point3.h"

// Whether a squared distance over the squared width, d2, is within the
// filters' reach: below 9 (three standard deviations). From there on a weight
// is exactly 0, and the flood fills stop. False when d2 is not a number (a
// zero distance with an endless inverse width).
inline bool within_reach(float d2)
{
    return d2 < 9.0f;
}

// The Gaussian of a squared distance over the squared width: exp(-d2 / 2).
// At least exp(-4.5) within reach.
inline float gaussian(float d2)
{
    return std::exp(-0.5f * d2);
}

// The Gaussian weight of q seen from p: gaussian(d2) with d2 = |p - q|^2 *
// inv_sigma2 within reach, exactly 0 beyond.
inline float gaussian_weight(const Point3 &p, const Point3 &q, float inv_sigma2)
{
    const float d2 = dist2(p, q) * inv_sigma2;
    return within_reach(d2) ? gaussian(d2) : 0.0f;
}
