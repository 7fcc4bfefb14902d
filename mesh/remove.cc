// Removal of marked vertices or faces.

#include "remove.h"

namespace {

bool marked(const std::vector<bool> &marks, size_t i) { return i < marks.size() && marks[i]; }

} // namespace

void delete_vertices(TriMesh &mesh, const std::vector<bool> &marks)
{
    const size_t nv = mesh.vertices.size();
    if (nv == 0)
        return;
    progress_printf("Removing vertices... ");
    std::vector<int> map(nv);
    int next = 0;
    for (size_t i = 0; i < nv; i++)
        map[i] = marked(marks, i) ? -1 : next++;
    const int removed = int(nv) - next;
    if (removed == 0) {
        progress_printf("None removed.\n");
        return;
    }
    mesh.remap_verts(map);
    progress_printf("%d vertices removed... Done.\n", removed);
}

void delete_faces(TriMesh &mesh, const std::vector<bool> &marks)
{
    const bool had_strips = !mesh.tristrips.empty();
    const bool had_faces = !mesh.faces.empty();
    mesh.ensure_faces();
    if (mesh.faces.empty())
        return;
    mesh.tristrips.clear();
    mesh.clear_adjacency();
    mesh.clear_point_areas();
    progress_printf("Removing faces... ");
    std::vector<Face> &faces = mesh.faces;
    size_t kept = 0;
    for (size_t i = 0; i < faces.size(); i++)
        if (!marked(marks, i))
            faces[kept++] = faces[i];
    if (kept == faces.size()) {
        progress_printf("None removed.\n");
        return;
    }
    progress_printf("%d faces removed... Done.\n", int(faces.size() - kept));
    faces.resize(kept);
    // A mesh that had only strips goes back to strips made of the kept faces.
    // One that had only a grid keeps its faces: made again from the grid they
    // would bring the removed faces back.
    if (had_strips) {
        mesh.ensure_tristrips();
        if (!had_faces)
            drop_face_list(mesh);
    }
    mesh.clear_bounding_box();
    mesh.clear_bounding_sphere();
}

void drop_face_list(TriMesh &mesh)
{
    mesh.faces.clear();
    mesh.clear_vertex_faces();
    mesh.clear_across_edge();
    mesh.clear_point_areas();
}
