// OpenMesh's uniform subdividers as a whole process, for comparison with
// Stripline: reads a mesh, subdivides once, writes binary PLY.
// Usage: openmesh_subdivide in.ply out.ply loop|butterfly|midpoint
// Prints the seconds the subdivision itself took.

#include <chrono>
#include <cstdio>
#include <cstring>

#include <OpenMesh/Core/IO/MeshIO.hh>
#include <OpenMesh/Core/Mesh/TriMesh_ArrayKernelT.hh>
#include <OpenMesh/Tools/Subdivider/Uniform/LoopT.hh>
#include <OpenMesh/Tools/Subdivider/Uniform/MidpointT.hh>
#include <OpenMesh/Tools/Subdivider/Uniform/ModifiedButterFlyT.hh>

using Mesh = OpenMesh::TriMesh_ArrayKernelT<>;

template <class Subdivider> bool run(Mesh &mesh)
{
    Subdivider subdivider;
    subdivider.attach(mesh);
    const bool ok = subdivider(1);
    subdivider.detach();
    return ok;
}

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Usage: openmesh_subdivide in.ply out.ply loop|butterfly|midpoint\n");
        return 1;
    }
    Mesh mesh;
    if (!OpenMesh::IO::read_mesh(mesh, argv[1]))
        return 1;
    const auto start = std::chrono::steady_clock::now();
    bool ok = false;
    if (std::strcmp(argv[3], "loop") == 0)
        ok = run<OpenMesh::Subdivider::Uniform::LoopT<Mesh>>(mesh);
    else if (std::strcmp(argv[3], "butterfly") == 0)
        ok = run<OpenMesh::Subdivider::Uniform::ModifiedButterflyT<Mesh>>(mesh);
    else if (std::strcmp(argv[3], "midpoint") == 0)
        ok = run<OpenMesh::Subdivider::Uniform::MidpointT<Mesh>>(mesh);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok)
        return 1;
    std::printf("op_seconds=%.4f vertices=%zu faces=%zu\n", seconds, mesh.n_vertices(),
                mesh.n_faces());
    return OpenMesh::IO::write_mesh(mesh, argv[2], OpenMesh::IO::Options::Binary) ? 0 : 1;
}
