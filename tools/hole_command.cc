// hole's command line: -c INPUT OUTPUT.
#include <cstring>

#include "fill_holes.h"
#include "tool_commands.h"
#include "tool_mesh.h"

namespace {

const char usage[] =
    "Usage: hole -c INPUT OUTPUT\n\n"
    "Closes every hole of the mesh in INPUT and writes it to OUTPUT (format from\n"
    "its extension). Each hole gets the triangulation of its rim with the smallest\n"
    "largest dihedral angle, then the smallest area; the patch is refined until\n"
    "its edges are as long as those around it, and its new vertices are placed\n"
    "smoothly. The old vertices do not move, and patches wind as the faces around\n"
    "them. A hole whose rim passes a vertex with several border edges is skipped,\n"
    "with a line saying which. The outer border of an open surface, such as a\n"
    "terrain patch, is a hole like any other and is closed too. A mesh without\n"
    "holes is written unchanged.\n"
    "Exit status: 0 when OUTPUT was written, 1 on any error (nothing written).\n";

} // namespace

int run_hole(int argc, char **argv)
{
    const bool well_formed = argc == 4 && std::strcmp(argv[1], "-c") == 0;
    if (const int status = check_command_line(argc, argv, usage, well_formed,
                                              "hole: expects -c INPUT OUTPUT; nothing written.");
        status >= 0)
        return status;
    const auto mesh = read_surface("hole", argv[2]);
    if (!mesh)
        return 1;
    // The adjacency first, so that its progress lines come before the step's.
    mesh->ensure_vertex_faces();
    mesh->ensure_vertex_neighbors();
    progress_printf("Filling holes... ");
    const HoleFillReport r = fill_holes(*mesh);
    if (r.filled == 0 && r.skipped == 0)
        progress_printf("No holes.\n");
    else
        progress_printf("%s%d filled with %d vertices and %d faces, %d skipped.\n", r.skipped ? "\n  " : "",
                        r.filled, r.added_vertices, r.added_faces, r.skipped);
    return write_result("hole", argv[3], *mesh) ? 0 : 1;
}
