#include "driver.h"
#include "window.h"

// Colours, then shows the written file (placed by its own ".xf" file) until
// its window is closed.
int main(int argc, char **argv)
{
    const char *written = nullptr;
    const int status = run_bake(argc, argv, written);
    return finish_in_result_viewer(status, argc, argv, written, written);
}
