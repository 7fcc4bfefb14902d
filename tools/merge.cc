// merge: joins two meshes into one.
#include "tool_commands.h"

int main(int argc, char **argv) { return run_merge(argc, argv); }
