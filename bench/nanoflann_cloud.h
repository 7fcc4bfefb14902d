#pragma once
// nanoflann's k-d tree over a vector of points, for the benchmarks that use it
// as a reference.

#include <nanoflann.hpp>

#include <vector>

#include "Point3.h"

struct NanoCloud {
    const std::vector<Point3> &pts;
    size_t kdtree_get_point_count() const { return pts.size(); }
    float kdtree_get_pt(size_t i, size_t dim) const { return pts[i][int(dim)]; }
    template <class Box>
    bool kdtree_get_bbox(Box &) const { return false; }
};

using NanoTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<float, NanoCloud>, NanoCloud, 3>;

// nanoflann's default leaf size.
constexpr size_t nano_leaf_size = 10;
