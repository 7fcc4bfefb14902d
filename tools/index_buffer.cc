#include "index_buffer.h"

#include "tool_mesh.h"

std::vector<unsigned> index_buffer(const TriMesh &mesh)
{
    std::vector<unsigned> indices;
    indices.reserve(3 * mesh.faces.size());
    for (const Face &f : mesh.faces)
        for (int j = 0; j < 3; j++)
            indices.push_back(unsigned(f[j]));
    return indices;
}

void set_faces_from_indices(TriMesh &mesh, const unsigned *indices, size_t count)
{
    std::vector<Face> faces(count / 3);
    for (size_t i = 0; i < faces.size(); i++)
        faces[i] = Face(int(indices[3 * i]), int(indices[3 * i + 1]), int(indices[3 * i + 2]));
    replace_faces(mesh, std::move(faces));
}
