#pragma once
// The bake command-line driver: reads the input mesh, replaces its colours by
// the colouring that the sub-command word names, and writes the output.
//
//   bake input sub-command [operation arguments] output
//
// The output is the argument right after the operation's arguments; later
// arguments are not read.

#include <cstddef>
#include <cstdio>
#include <span>

#include "TriMesh.h"

// One sub-command: its key, how it is recognised, and its operation.
struct SubCommand {
    const char *key;
    // Letters compared case-insensitively with the key, its terminating zero
    // included: a count above the key's length demands the exact word.
    size_t letters;
    // Arguments needed at least, program name included; the output name is
    // argument min_argc - 1 and the operation's arguments are 3 .. min_argc - 2.
    int min_argc;
    const char *arguments;  // the operation's arguments, as the usage list shows them
    const char *help;       // one line for the usage list
    // Colours the mesh from the operation's arguments; false after a message
    // when an argument is refused.
    bool (*colour)(TriMesh &mesh, char *const *args);
};

// Every sub-command, in the order in which words are tested against them.
std::span<const SubCommand> subcommands();

// The first sub-command in table order that `word` selects, or null.
const SubCommand *find_subcommand(const char *word);

// Prints the usage list of the sub-commands to `out` (standard output for "-h").
void print_usage(FILE *out);

// Prints the banner, then the usage list, to the standard error stream, as
// every refused command line does.
void print_banner();

// Runs bake on a command line (argv[0] is the program name) and returns the
// process exit status: 0 when the mesh was coloured and written, 1 on every
// failure (too few arguments, an unreadable input, an unknown sub-command, a
// refused argument, a colour that would not be a finite number, a failed
// write), in which case nothing is written. Sets `written` to the output name
// when the mesh was written to a named file; leaves it alone otherwise and for
// the output "-" (standard output).
int run_bake(int argc, char **argv, const char *&written);
