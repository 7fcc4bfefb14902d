// Stand-in for the outside merging program: merge first.obj second.obj -o out.obj.
// Joins two OBJ files into one.
#include <cstdio>
#include <string>

#include "standin_files.h"

int main(int argc, char **argv)
{
    if (argc != 5 || std::string(argv[3]) != "-o") {
        std::fprintf(stderr, "Usage: merge first.obj second.obj -o out.obj\n");
        return 2;
    }
    return join_obj_files(argv[1], argv[2], argv[4]) ? 0 : 1;
}
