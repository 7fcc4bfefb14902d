#pragma once
// The Gaussian weight that the surface filters share, inline so that their
// inner loops do not call out for it.

#include <cmath>

#include "Point3.h"

// The Gaussian weight of q seen from p: exp(-d2 / 2) with d2 = |p - q|^2 *
// inv_sigma2, and exactly 0 from d2 = 9 on (three standard deviations), which
// is where the flood fills stop. Also 0 when d2 is not a number (a zero
// distance with an endless inv_sigma2).
inline float gaussian_weight(const Point3 &p, const Point3 &q, float inv_sigma2)
{
    const float d2 = dist2(p, q) * inv_sigma2;
    return d2 < 9.0f ? std::exp(-0.5f * d2) : 0.0f;
}
