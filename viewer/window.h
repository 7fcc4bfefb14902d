#pragma once
// The viewer's window: starts freeglut, forwards its events to the scene and
// runs its main loop. Two entry points: the PolmeraViewer program, and the
// result viewer that the console tools open on the file they wrote.

#include <string>

// Why no viewer window can or should open now: "" when one can; otherwise a
// short reason (no display, the connection to it fails, or POLMERA_NO_VIEWER
// is set and `honour_switch` is true). Checked before freeglut starts, which
// would end the process without a display.
std::string viewer_unavailable(bool honour_switch);

// The PolmeraViewer program: shows every readable mesh file named on the
// command line until the window is closed. Returns 1 without a display.
int run_viewer_program(int argc, char **argv);

// How a console tool ends: with `status` when it failed or wrote no named
// file, otherwise in the result viewer on `written`, placed by the ".xf" file
// that belongs to `placement_of` (a mesh file name). The result viewer opens
// the window "Polmera Viewer by Arkwell" and returns only when the process
// ends. Without a display, or with POLMERA_NO_VIEWER set, it says on standard
// error that it skips the viewer and returns 0; when the file cannot be read,
// it returns 1.
int finish_in_result_viewer(int status, int argc, char **argv, const char *written, const char *placement_of);
