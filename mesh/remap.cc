// Vertex renumbering: moves every per-vertex value to its vertex's new index,
// drops the faces of removed vertices, remaps or rebuilds strips and grid, and
// rebuilds the derived data that existed for the old numbering.

#include <algorithm>

#include "TriMesh.h"
#include "index_range.h"
#include "remove.h"

namespace {

// Moves the entries of a per-vertex array to their new places and sizes it to
// new_size. Places that no vertex moves to keep the value they had. An array
// whose length is not the vertex count does not belong to the vertices (visit
// marks may hold per-face marks) and is emptied.
template <typename T>
void remap_per_vertex(std::vector<T> &values, const std::vector<int> &map, size_t new_size)
{
    if (values.empty())
        return;
    if (values.size() != map.size()) {
        values.clear();
        return;
    }
    const std::vector<T> old = values;
    values.resize(new_size);
    for (size_t i = 0; i < map.size(); i++)
        if (map[i] >= 0 && size_t(map[i]) != i)
            values[map[i]] = old[i];
}

} // namespace

void TriMesh::remap_verts(const std::vector<int> &map)
{
    const size_t nv = vertices.size();
    if (map.size() != nv) {
        error_printf("remap_verts called with wrong table size!\n");
        return;
    }
    int maxnew = -1;
    bool dropped = false;
    for (const int m : map) {
        maxnew = std::max(maxnew, m);
        dropped |= m < 0;
    }
    // The new index of an old one; -1 for a dropped vertex or an index that
    // names no vertex.
    auto remapped = [&](int v) { return index_in_range(v, nv) && map[v] >= 0 ? map[v] : -1; };

    const bool had_faces = !faces.empty(), had_strips = !tristrips.empty();
    const bool had_grid = !range_grid.empty();
    const bool had_areas = !point_areas.empty() || !corner_areas.empty();
    const bool had_box = bounding_box.valid, had_sphere = bounding_sphere.valid;
    const bool had_neighbors = !vertex_neighbors.empty(), had_vertex_faces = !vertex_faces.empty();
    const bool had_across = !across_edge.empty();

    // Strips cannot lose a vertex in place: work on faces and rebuild the strips
    // at the end. A grid is remapped and triangulated again instead.
    if (dropped) {
        if (had_grid) {
            faces.clear();
            tristrips.clear();
        } else if (had_strips) {
            ensure_faces();
            tristrips.clear();
        }
    }

    const size_t new_size = size_t(maxnew + 1);
    remap_per_vertex(vertices, map, new_size);
    remap_per_vertex(colors, map, new_size);
    remap_per_vertex(confidences, map, new_size);
    remap_per_vertex(visit_marks, map, new_size);
    remap_per_vertex(normals, map, new_size);
    remap_per_vertex(principal_dir1, map, new_size);
    remap_per_vertex(principal_dir2, map, new_size);
    remap_per_vertex(principal_curv1, map, new_size);
    remap_per_vertex(principal_curv2, map, new_size);
    remap_per_vertex(curv_derivs, map, new_size);

    // Faces keep their order; a face that lost a corner goes.
    size_t kept = 0;
    for (const Face &f : faces) {
        const Face g(remapped(f[0]), remapped(f[1]), remapped(f[2]));
        if (g[0] >= 0 && g[1] >= 0 && g[2] >= 0)
            faces[kept++] = g;
    }
    faces.resize(kept);

    // Strips that are still there lost no vertex. An entry that names no vertex
    // becomes a strip end.
    if (!tristrips.empty()) {
        set_strip_form(StripForm::terminated);
        for (int &s : tristrips)
            s = remapped(s);
        set_strip_form(StripForm::counted);
    }

    if (had_grid) {
        for (int &cell : range_grid)
            if (cell >= 0)
                cell = remapped(cell);
        if (had_faces && faces.empty())
            ensure_faces();
    }

    // Derived data that existed is rebuilt for the new numbering.
    if (had_areas) {
        clear_point_areas();
        ensure_point_areas();
    }
    if (had_box) {
        clear_bounding_box();
        ensure_bounding_box();
    }
    if (had_sphere) {
        clear_bounding_sphere();
        ensure_bounding_sphere();
    }
    if (had_neighbors) {
        clear_vertex_neighbors();
        ensure_vertex_neighbors();
    }
    if (had_vertex_faces) {
        clear_vertex_faces();
        ensure_vertex_faces();
    }
    if (had_across) {
        clear_across_edge();
        ensure_across_edge();
    }
    if (had_strips)
        ensure_tristrips();
    if (!had_faces)
        drop_face_list(*this);
}
