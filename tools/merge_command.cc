// merge's command line: A B -o OUTPUT.
#include <cstring>

#include "merge_meshes.h"
#include "tool_commands.h"
#include "tool_mesh.h"

namespace {

const char usage[] =
    "Usage: merge A B -o OUTPUT\n\n"
    "Joins the meshes A and B into one and writes it to OUTPUT (format from its\n"
    "extension). Colours, confidences and normals are kept when either mesh has\n"
    "them; the other one's vertices get white, 1, or normals from their faces.\n"
    "Border vertices of the two that lie at exactly the same position are welded\n"
    "into one, so that meshes cut along a seam join up again.\n"
    "Exit status: 0 when OUTPUT was written, 1 on any error (nothing written).\n";

} // namespace

int run_merge(int argc, char **argv)
{
    const bool well_formed = argc == 5 && std::strcmp(argv[3], "-o") == 0;
    if (const int status = check_command_line(argc, argv, usage, well_formed,
                                              "merge: expects A B -o OUTPUT; nothing written.");
        status >= 0)
        return status;
    const auto first = read_surface("merge", argv[1]);
    if (!first)
        return 1;
    const auto second = read_surface("merge", argv[2]);
    if (!second)
        return 1;
    const size_t total = first->vertices.size() + second->vertices.size();
    const int welded = merge_meshes(*first, *second);
    progress_printf("Merged %lu vertices, %d of them welded on the seams: %lu vertices, %lu faces.\n",
                    (unsigned long)total, welded, (unsigned long)first->vertices.size(),
                    (unsigned long)first->faces.size());
    return write_result("merge", argv[4], *first) ? 0 : 1;
}
