#pragma once
// The Stripline command-line driver: reads the input, applies the options in
// command-line order and writes the output named last.

// Runs Stripline on a command line (argv[0] is the program name) and returns
// the process exit status. `written` becomes the name of the file written, and
// stays null when nothing was written to a named file.
int run_stripline(int argc, char **argv, const char *&written);
