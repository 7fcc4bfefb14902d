// OpenMesh's quadric decimater as the reduction benchmark's peer: reads a
// mesh (with the suite's reader, untimed), decimates it to a face count,
// writes the result and prints the seconds the decimation took.
// Usage: openmesh_decimate in.ply out.ply count
#include <OpenMesh/Core/Mesh/TriMesh_ArrayKernelT.hh>
#include <OpenMesh/Tools/Decimater/DecimaterT.hh>
#include <OpenMesh/Tools/Decimater/ModQuadricT.hh>

#include <cstdio>
#include <cstdlib>

#include "mesh_io.h"

using OMesh = OpenMesh::TriMesh_ArrayKernelT<>;

int main(int argc, char **argv)
{
    if (argc != 4)
        return 1;
    const auto in = read_mesh(argv[1]);
    if (!in)
        return 1;
    in->ensure_faces();
    OMesh mesh;
    std::vector<OMesh::VertexHandle> handles;
    handles.reserve(in->vertices.size());
    for (const Point3 &p : in->vertices)
        handles.push_back(mesh.add_vertex(OMesh::Point(p.x, p.y, p.z)));
    for (const Face &f : in->faces)
        mesh.add_face(handles[f[0]], handles[f[1]], handles[f[2]]);

    const uint64_t start = now_ticks();
    OpenMesh::Decimater::DecimaterT<OMesh> decimater(mesh);
    OpenMesh::Decimater::ModQuadricT<OMesh>::Handle quadric;
    decimater.add(quadric);
    decimater.module(quadric).unset_max_err();
    decimater.initialize();
    decimater.decimate_to_faces(0, size_t(std::atol(argv[3])));
    mesh.garbage_collection();
    const float seconds = elapsed_seconds(start, now_ticks());

    TriMesh out;
    for (const auto &v : mesh.vertices()) {
        const OMesh::Point &p = mesh.point(v);
        out.vertices.emplace_back(p[0], p[1], p[2]);
    }
    for (const auto &f : mesh.faces()) {
        int corner[3], j = 0;
        for (const auto &v : mesh.fv_range(f))
            corner[j++] = v.idx();
        out.faces.emplace_back(corner[0], corner[1], corner[2]);
    }
    if (!write_mesh(argv[2], out))
        return 1;
    std::printf("%.3f %zu\n", seconds, out.faces.size());
    return 0;
}
