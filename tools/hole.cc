// Stand-in for the outside hole-filling program: hole -c input output. Writes
// the input unchanged to the output.
#include <cstdio>
#include <string>

#include "standin_files.h"

int main(int argc, char **argv)
{
    if (argc != 4 || std::string(argv[1]) != "-c") {
        std::fprintf(stderr, "Usage: hole -c input output\n");
        return 2;
    }
    if (!copy_file(argv[2], argv[3]))
        return 1;
    std::fprintf(stderr, "hole stand-in: %s written to %s with its holes left open\n", argv[2], argv[3]);
    return 0;
}
