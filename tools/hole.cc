// hole: closes the holes of a mesh.
#include "tool_commands.h"

int main(int argc, char **argv) { return run_hole(argc, argv); }
