// Tidegate's command line: INPUT OUTPUT COUNT, then option words.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "input_lookup.h"
#include "reduce.h"
#include "repair.h"
#include "tool_commands.h"
#include "tool_mesh.h"

namespace {

const char usage[] =
    "Usage: Tidegate INPUT OUTPUT COUNT [-Nn] [-Ty] [-Hy] [-P]\n\n"
    "Reduces the mesh in INPUT to at most COUNT triangles by quadric-error edge\n"
    "collapse and writes it to OUTPUT (format from its extension). Kept vertices\n"
    "keep their positions, colours, normals and confidences. When INPUT does not\n"
    "exist but exactly one file of the same name with another mesh extension\n"
    "does, that file is read instead.\n\n"
    "  -Nn  measure the error by the positions alone. Every run does: colours and\n"
    "       normals are carried along but not weighed.\n"
    "  -Ty  keep the topology: the count reached may then stay above COUNT (it is\n"
    "       printed).\n"
    "  -Hy  keep borders (the rims of holes) in place during the collapses.\n"
    "  -P   repair first: weld vertices at the same position, drop degenerate and\n"
    "       repeated faces, remove unused vertices.\n\n"
    "Without -Ty, when the collapses stop above COUNT, a clustering pass reaches\n"
    "it; that pass may close holes, join pieces and move borders.\n"
    "Exit status: 0 when OUTPUT was written, 1 on any error (nothing written).\n";

// COUNT as a positive whole number, or 0 when it is none.
long parse_count(const char *text)
{
    if (*text < '0' || *text > '9')
        return 0;
    char *end = nullptr;
    const long n = std::strtol(text, &end, 10);
    return *end == '\0' && n > 0 && n <= INT_MAX ? n : 0;
}

struct TidegateRun {
    ReduceOptions reduce;
    bool repair = false;
};

// Reads the option words; false after naming one that is not known.
bool parse_options(int argc, char **argv, TidegateRun &run)
{
    for (int i = 4; i < argc; i++) {
        const char *word = argv[i];
        if (std::strcmp(word, "-Ty") == 0)
            run.reduce.keep_topology = true;
        else if (std::strcmp(word, "-Hy") == 0)
            run.reduce.keep_borders = true;
        else if (std::strcmp(word, "-P") == 0)
            run.repair = true;
        else if (std::strcmp(word, "-Nn") != 0) {
            error_printf("Tidegate: unknown option [%s] (see Tidegate -h); nothing written.\n", word);
            return false;
        }
    }
    return true;
}

} // namespace

int run_tidegate(int argc, char **argv)
{
    if (const int status = check_command_line(argc, argv, usage, argc >= 4,
                                              "Tidegate: needs INPUT, OUTPUT and COUNT; nothing written.");
        status >= 0)
        return status;
    const long count = parse_count(argv[3]);
    if (count == 0) {
        error_printf("Tidegate: the triangle count [%s] is not a positive whole number; nothing written.\n",
                     argv[3]);
        return 1;
    }
    TidegateRun run;
    if (!parse_options(argc, argv, run))
        return 1;
    const std::string input = lookup_input("Tidegate", argv[1]);
    if (input.empty())
        return 1;
    const auto mesh = read_surface("Tidegate", input.c_str());
    if (!mesh)
        return 1;
    if (run.repair)
        repair_mesh(*mesh);
    const size_t before = mesh->faces.size();
    progress_printf("Reducing %lu triangles to at most %ld... ", (unsigned long)before, count);
    const ReduceResult r = reduce_mesh(*mesh, size_t(count), run.reduce);
    if (r.faces == before)
        progress_printf("Already within the count.\n");
    else if (r.clustered)
        progress_printf("The collapses stopped at %lu; clustering reached %lu.\n", (unsigned long)r.collapsed,
                        (unsigned long)r.faces);
    else
        progress_printf("Done: %lu triangles.\n", (unsigned long)r.faces);
    if (r.faces > size_t(count))
        progress_printf("Tidegate: stopped at %lu triangles, above %ld%s.\n", (unsigned long)r.faces, count,
                        run.reduce.keep_topology ? ", to keep the topology" : "");
    if (r.faces == 0) {
        error_printf("Tidegate: no triangle is left at a count of %ld; nothing written.\n", count);
        return 1;
    }
    return write_result("Tidegate", argv[2], *mesh) ? 0 : 1;
}
