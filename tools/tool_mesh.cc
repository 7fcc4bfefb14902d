#include "tool_mesh.h"

#include <cstdio>
#include <cstring>

#include "mesh_io.h"

std::unique_ptr<TriMesh> read_surface(const char *program, const char *path)
{
    auto mesh = read_mesh(path);
    if (!mesh) {
        error_printf("%s: cannot read the mesh [%s]; nothing written.\n", program, path);
        return nullptr;
    }
    keep_faces_only(*mesh);
    if (mesh->faces.empty()) {
        error_printf("%s: the mesh [%s] has no triangles; nothing written.\n", program, path);
        return nullptr;
    }
    return mesh;
}

bool write_result(const char *program, const char *path, TriMesh &mesh)
{
    if (write_mesh(path, mesh))
        return true;
    error_printf("%s: cannot write [%s].\n", program, path);
    return false;
}

void keep_faces_only(TriMesh &mesh)
{
    mesh.ensure_faces();
    mesh.tristrips.clear();
    mesh.range_grid.clear();
    mesh.grid_cols = mesh.grid_rows = -1;
    replace_faces(mesh, std::move(mesh.faces));
}

void replace_faces(TriMesh &mesh, std::vector<Face> faces)
{
    mesh.faces = std::move(faces);
    mesh.clear_adjacency();
    mesh.clear_point_areas();
    mesh.clear_curvatures();
    mesh.clear_bounding_box();
    mesh.clear_bounding_sphere();
    mesh.visit_marks.clear();
}

int remove_unused_vertices(TriMesh &mesh)
{
    std::vector<int> map(mesh.vertices.size(), -1);
    for (const Face &f : mesh.faces)
        for (int j = 0; j < 3; j++)
            map[f[j]] = 0;
    int next = 0;
    for (int &m : map)
        if (m == 0)
            m = next++;
    const int removed = int(map.size()) - next;
    if (removed > 0)
        mesh.remap_verts(map);
    return removed;
}

int check_command_line(int argc, char **argv, const char *usage, bool well_formed, const char *complaint)
{
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (well_formed)
        return -1;
    std::fputs(usage, stderr);
    error_printf("%s\n", complaint);
    return 1;
}
