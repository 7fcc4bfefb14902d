#pragma once
// Smallest enclosing ball of a point set, by move-to-front with pivoting over a
// support basis of at most four points, in single precision.

#include <vector>

#include "Point3.h"

struct Ball {
    Point3 center;
    float squared_radius = -1;  // -1 for an empty set
};

// The smallest ball that holds every point. Pushes onto the support basis are
// refused when the new point is almost affinely dependent on it (squared
// orthogonal component below 1e-13 times the current squared radius), so
// repeated, collinear and coplanar points are handled. Float rounding can leave
// points outside by a relative amount of order 1e-6.
Ball smallest_enclosing_ball(const std::vector<Point3> &points);
