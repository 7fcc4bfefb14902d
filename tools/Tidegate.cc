// Tidegate: reduction of a mesh to a required triangle count.
#include "tool_commands.h"

int main(int argc, char **argv) { return run_tidegate(argc, argv); }
