#pragma once
// A coarse picture of the space a mesh occupies: 16 x 16 x 16 cells over the
// bounding box of its vertices, each marked when a vertex lies in it. Used to
// tell which vertices of one mesh lie where the other mesh is.

#include <array>
#include <cstdint>
#include <vector>

#include "Point3.h"

class OccupancyGrid {
public:
    // Marks the cell of every point (in the points' own coordinates).
    explicit OccupancyGrid(const std::vector<Point3> &points);

    // True when p lies strictly inside the box on all three axes and its cell
    // is marked.
    bool occupied(const Point3 &p) const;

    // The side of a cell along the box's largest side.
    float cell_size() const { return 1.0f / scale; }

private:
    static constexpr int cells_per_side = 16;

    // Index of the cell of a point not below the box minimum; coordinates at
    // or beyond the box maximum fall in the last cell.
    int cell_of(const Point3 &p) const;

    Point3 min, max;
    float scale = 0;  // cells per unit length
    std::array<uint8_t, cells_per_side * cells_per_side * cells_per_side> marked{};
};
