// The long-sliver test.

#include "slivers.h"

#include <algorithm>

#include "index_range.h"

namespace {

// True when a face with squared edge lengths a, b, c has an edge of squared
// length at least t and a smallest angle whose squared cosine is at least 0.85.
bool is_long_sliver(double a, double b, double c, double t)
{
    if (a < t && b < t && c < t)
        return false;
    const double m = std::min({a, b, c});
    // Two coincident corners: the angle between the long edges is 0.
    if (m == 0)
        return true;
    // Law of cosines at the angle opposite the shortest edge, squared.
    const double sum = a + b + c - 2 * m;
    return m * sum * sum / (4 * a * b * c) >= 0.85;
}

} // namespace

std::vector<bool> mark_long_slivers(TriMesh &mesh)
{
    mesh.ensure_faces();
    const double s = mesh.median_edge_length();
    const double t = (8 * s) * (8 * s);
    const size_t nv = mesh.vertices.size();
    std::vector<bool> marks(mesh.faces.size(), false);
    for (size_t i = 0; i < mesh.faces.size(); i++) {
        const Face &f = mesh.faces[i];
        if (!face_in_range(f, nv))
            continue;
        const Point3 &p0 = mesh.vertices[f[0]], &p1 = mesh.vertices[f[1]], &p2 = mesh.vertices[f[2]];
        marks[i] = is_long_sliver(dist2(p1, p0), dist2(p2, p1), dist2(p0, p2), t);
    }
    return marks;
}
