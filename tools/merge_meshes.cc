#include "merge_meshes.h"

#include "boundary.h"
#include "repair.h"
#include "tool_mesh.h"

namespace {

// Gives `mesh` the default of a per-vertex attribute that only the other mesh
// has, so that both can be appended.
template <typename T>
void fill_missing(std::vector<T> &values, const std::vector<T> &others, size_t vertex_count, const T &fill)
{
    if (values.empty() && !others.empty())
        values.assign(vertex_count, fill);
}

template <typename T>
void append(std::vector<T> &to, const std::vector<T> &from)
{
    to.insert(to.end(), from.begin(), from.end());
}

} // namespace

int merge_meshes(TriMesh &mesh, TriMesh &other)
{
    const size_t na = mesh.vertices.size(), nb = other.vertices.size();
    fill_missing(mesh.colors, other.colors, na, Color(1, 1, 1));
    fill_missing(other.colors, mesh.colors, nb, Color(1, 1, 1));
    fill_missing(mesh.confidences, other.confidences, na, 1.0f);
    fill_missing(other.confidences, mesh.confidences, nb, 1.0f);
    if (mesh.normals.empty() != other.normals.empty()) {
        mesh.ensure_normals();
        other.ensure_normals();
    }
    std::vector<bool> seam = boundary_vertex_marks(mesh);
    const std::vector<bool> other_seam = boundary_vertex_marks(other);
    seam.insert(seam.end(), other_seam.begin(), other_seam.end());

    append(mesh.vertices, other.vertices);
    append(mesh.colors, other.colors);
    append(mesh.confidences, other.confidences);
    append(mesh.normals, other.normals);
    std::vector<Face> faces = std::move(mesh.faces);
    faces.reserve(faces.size() + other.faces.size());
    for (const Face &f : other.faces)
        faces.emplace_back(f[0] + int(na), f[1] + int(na), f[2] + int(na));
    replace_faces(mesh, std::move(faces));

    const int welded = weld_vertices(mesh, &seam);
    drop_bad_faces(mesh);
    return welded;
}
