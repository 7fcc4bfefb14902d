#include "overlap_grid.h"

#include <algorithm>

OccupancyGrid::OccupancyGrid(const std::vector<Point3> &points)
{
    if (points.empty())
        return;  // an empty box: nothing lies strictly inside it
    min = max = points[0];
    for (const Point3 &p : points) {
        for (int k = 0; k < 3; k++) {
            min[k] = std::min(min[k], p[k]);
            max[k] = std::max(max[k], p[k]);
        }
    }
    const Point3 side = max - min;
    scale = float(cells_per_side) * (1.0f / std::max({side.x, side.y, side.z}));
    for (const Point3 &p : points)
        marked[cell_of(p)] = 1;
}

int OccupancyGrid::cell_of(const Point3 &p) const
{
    int index = 0;
    for (int k = 0; k < 3; k++) {
        // Written so that a box without extent (infinite scale, NaN cell
        // coordinate) puts every point in the last cell.
        const float cell = scale * (p[k] - min[k]);
        index = index * cells_per_side + (cell < float(cells_per_side - 1) ? int(cell) : cells_per_side - 1);
    }
    return index;
}

bool OccupancyGrid::occupied(const Point3 &p) const
{
    for (int k = 0; k < 3; k++)
        if (!(p[k] > min[k] && p[k] < max[k]))
            return false;
    return marked[cell_of(p)] != 0;
}
