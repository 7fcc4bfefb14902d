#pragma once
// The plane fit that gives a point of a cloud its normal.

#include <optional>
#include <vector>

#include "Point3.h"

// The normal at points[i] from its neighbours, given by their offsets (three
// times their indices) in increasing order: the eigenvector of least spread of
// the scatter of the neighbours about the point itself (summed in that order),
// turned towards +z, not normalized. None when fewer than three neighbours are
// given.
std::optional<Point3> fit_cloud_normal(const std::vector<Point3> &points, int i, const int *offsets,
                                       int count);
