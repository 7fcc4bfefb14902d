// Removal of unused vertices, long slivers, the boundary ring and what lies
// outside a box.

#include "removal.h"

#include "index_range.h"
#include "remove.h"
#include "slivers.h"

void delete_orphan_vertices(TriMesh &mesh)
{
    const size_t nv = mesh.vertices.size();
    if (nv == 0)
        return;
    const bool had_faces = !mesh.faces.empty();
    mesh.ensure_faces();
    std::vector<bool> marks(nv, true);
    for (const Face &f : mesh.faces)
        for (int j = 0; j < 3; j++)
            if (index_in_range(f[j], nv))
                marks[f[j]] = false;
    delete_vertices(mesh, marks);
    if (!had_faces)
        drop_face_list(mesh);
}

void delete_sliver_faces(TriMesh &mesh)
{
    mesh.ensure_faces();
    delete_faces(mesh, mark_long_slivers(mesh));
}

void erode_boundary(TriMesh &mesh)
{
    const size_t nv = mesh.vertices.size();
    std::vector<bool> marks(nv);
    for (size_t v = 0; v < nv; v++)
        marks[v] = mesh.is_boundary(int(v));
    delete_vertices(mesh, marks);
}

void clip_to_box(TriMesh &mesh, const BoundingBox &box)
{
    const size_t nv = mesh.vertices.size();
    std::vector<bool> marks(nv);
    for (size_t v = 0; v < nv; v++) {
        const Point3 &p = mesh.vertices[v];
        bool outside = false;
        for (int axis = 0; axis < 3; axis++)
            outside |= p[axis] < box.min[axis] || p[axis] > box.max[axis];
        marks[v] = outside;
    }
    delete_vertices(mesh, marks);
}
