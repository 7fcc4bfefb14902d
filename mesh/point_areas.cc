// Point areas: the share of the surface that each vertex stands for, split per
// corner of every face so that obtuse triangles give their obtuse corner half
// of their area.

#include "TriMesh.h"

namespace {

// Areas of the three corners of the triangle p0 p1 p2; they add up to its area.
Point3 corner_areas_of(const Point3 &p0, const Point3 &p1, const Point3 &p2)
{
    const Point3 e[3] = {p2 - p1, p0 - p2, p1 - p0};
    const float area = 0.5f * len(cross(e[0], e[1]));
    const float l[3] = {len2(e[0]), len2(e[1]), len2(e[2])};
    const float w[3] = {l[0] * (l[1] + l[2] - l[0]), l[1] * (l[2] + l[0] - l[1]),
                        l[2] * (l[0] + l[1] - l[2])};
    Point3 c;
    if (w[0] <= 0.0f) {
        c[1] = -0.25f * l[2] * area / dot(e[0], e[2]);
        c[2] = -0.25f * l[1] * area / dot(e[0], e[1]);
        c[0] = area - c[1] - c[2];
    } else if (w[1] <= 0.0f) {
        c[2] = -0.25f * l[0] * area / dot(e[1], e[0]);
        c[0] = -0.25f * l[2] * area / dot(e[1], e[2]);
        c[1] = area - c[2] - c[0];
    } else if (w[2] <= 0.0f) {
        c[0] = -0.25f * l[1] * area / dot(e[2], e[1]);
        c[1] = -0.25f * l[0] * area / dot(e[2], e[0]);
        c[2] = area - c[0] - c[1];
    } else {
        const float s = 0.5f * area / (w[0] + w[1] + w[2]);
        for (int j = 0; j < 3; j++)
            c[j] = s * (w[(j + 1) % 3] + w[(j + 2) % 3]);
    }
    // A triangle with coincident corners has no area to share; the divisions
    // above would give NaN.
    for (int j = 0; j < 3; j++)
        if (!std::isfinite(c[j]))
            c[j] = 0.0f;
    return c;
}

} // namespace

void TriMesh::ensure_point_areas()
{
    if (point_areas.size() == vertices.size())
        return;
    ensure_faces();
    progress_printf("Computing point areas... ");
    point_areas.assign(vertices.size(), 0.0f);
    corner_areas.assign(faces.size(), Point3());
    for (size_t i = 0; i < faces.size(); i++) {
        const Face &f = faces[i];
        corner_areas[i] = corner_areas_of(vertices[f[0]], vertices[f[1]], vertices[f[2]]);
        for (int j = 0; j < 3; j++)
            point_areas[f[j]] += corner_areas[i][j];
    }
    progress_printf("Done.\n");
}
