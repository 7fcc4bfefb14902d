// Stand-in for the outside reduction program: Tidegate input output count
// [option words]. Writes the input unreduced to the output.
#include <cstdio>

#include "standin_files.h"

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "Usage: Tidegate input.obj output count [-Nn] [-Ty] [-Hy] [-P]\n");
        return 2;
    }
    if (!copy_file(argv[1], argv[2]))
        return 1;
    std::fprintf(stderr, "Tidegate stand-in: %s written to %s unreduced (asked for %s polygons)\n", argv[1],
                 argv[2], argv[3]);
    return 0;
}
