#pragma once
// The command lines of the three outside tools. Each returns the process exit
// status: 0 when the output was written, 1 on any failure, after a line that
// names the file or argument at fault (nothing is written then). "-h" prints
// the usage text to standard output.

// Tidegate INPUT OUTPUT COUNT [-Nn] [-Ty] [-Hy] [-P]: reduction to at most
// COUNT triangles.
int run_tidegate(int argc, char **argv);

// hole -c INPUT OUTPUT: every hole closed.
int run_hole(int argc, char **argv);

// merge A B -o OUTPUT: the two meshes joined into one.
int run_merge(int argc, char **argv);
