#include "window.h"

int main(int argc, char **argv) { return run_viewer_program(argc, argv); }
