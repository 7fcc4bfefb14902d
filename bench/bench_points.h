#pragma once
// Repeatable point sets for the benchmarks.

#include <cstddef>
#include <vector>

#include "Point3.h"

// n points spread uniformly over the unit cube; `seed` picks the sequence.
std::vector<Point3> random_points(size_t n, unsigned seed);

// About n points sampled from a wavy height field over [0, 10]^2, jittered off
// the grid: a scanned surface without faces.
std::vector<Point3> surface_samples(size_t n);
