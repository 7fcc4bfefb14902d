#pragma once
// Small helpers shared by the filters that move vertices: traversal stamps for
// flood fills, refusing widths that cannot be used, and clearing the derived
// data that vertex positions make stale.

#include <cmath>
#include <cstdint>
#include <vector>

#include "TriMesh.h"

// Sizes `visit_marks` to `count` entries when its length differs, for a
// traversal that marks vertices (count = vertex count) or faces.
inline void size_visit_marks(TriMesh &mesh, size_t count)
{
    if (mesh.visit_marks.size() != count)
        mesh.visit_marks.resize(count, 0);
}

// Starts one flood fill: increments `visit_stamp` and returns it; an element
// counts as reached when its mark equals the stamp. When the stamp wraps round
// to 0 the marks are reset, so that no old mark can equal a new stamp.
inline uint32_t next_visit_stamp(TriMesh &mesh)
{
    if (++mesh.visit_stamp == 0) {
        mesh.visit_marks.assign(mesh.visit_marks.size(), 0);
        mesh.visit_stamp = 1;
    }
    return mesh.visit_stamp;
}

// Marks of a traversal that one thread owns, used like the mesh's
// `visit_marks` and `visit_stamp`: an element counts as reached when its mark
// equals the stamp of the current fill.
class VisitMarks {
public:
    explicit VisitMarks(size_t count = 0) : marks(count, 0) {}
    // Starts one fill; as next_visit_stamp, the marks are reset when the stamp
    // wraps round to 0.
    uint32_t next()
    {
        if (++stamp == 0) {
            marks.assign(marks.size(), 0);
            stamp = 1;
        }
        return stamp;
    }
    uint32_t *data() { return marks.data(); }

private:
    std::vector<uint32_t> marks;
    uint32_t stamp = 0;
};

// True when `width` is a usable filter width: above 0 and finite (a width of 0
// would divide by zero, an endless one would reach the whole surface from
// every vertex). Otherwise prints a one-line note naming the operation and
// the quantity (`what`) and returns false; the caller then leaves the mesh
// unchanged.
inline bool usable_width(float width, const char *operation, const char *what = "width")
{
    if (width > 0.0f && std::isfinite(width))
        return true;
    error_printf("%s: %s %g cannot be used (it must be above 0); the mesh is unchanged.\n",
                 operation, what, double(width));
    return false;
}

// Clears what depends on vertex positions, except the normals: point and
// corner areas, curvatures, bounding box and sphere. Called by every filter
// that moves vertices; each says itself what it does with the normals.
inline void clear_shape_data(TriMesh &mesh)
{
    mesh.clear_point_areas();
    mesh.clear_curvatures();
    mesh.clear_bounding_box();
    mesh.clear_bounding_sphere();
}
