// Bounding volumes of the vertex positions: the axis-aligned box and the
// smallest enclosing sphere.

#include <cmath>

#include "TriMesh.h"
#include "min_ball.h"

void TriMesh::ensure_bounding_box()
{
    if (vertices.empty() || bounding_box.valid)
        return;
    progress_printf("Computing bounding box... ");
    BoundingBox &b = bounding_box;
    b.min = b.max = vertices[0];
    b.valid = true;
    for (size_t i = 1; i < vertices.size(); i++) {
        for (int k = 0; k < 3; k++) {
            if (b.min[k] > vertices[i][k])
                b.min[k] = vertices[i][k];
            if (b.max[k] < vertices[i][k])
                b.max[k] = vertices[i][k];
        }
    }
    progress_printf("Done.\n  x = %g .. %g, y = %g .. %g, z = %g .. %g\n", b.min.x, b.max.x,
                    b.min.y, b.max.y, b.min.z, b.max.z);
}

void TriMesh::ensure_bounding_sphere()
{
    if (vertices.empty() || bounding_sphere.valid)
        return;
    progress_printf("Computing bounding sphere... ");
    const Ball ball = smallest_enclosing_ball(vertices);
    bounding_sphere.center = ball.center;
    bounding_sphere.radius = std::sqrt(ball.squared_radius);
    bounding_sphere.valid = true;
    const Point3 &c = bounding_sphere.center;
    progress_printf("Done.\n  center = (%g, %g, %g), radius = %g\n", c.x, c.y, c.z,
                    bounding_sphere.radius);
}
