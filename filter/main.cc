#include "driver.h"
#include "window.h"

// Filters, then shows the written file (placed as the input) until its window
// is closed.
int main(int argc, char **argv)
{
    const char *written = nullptr;
    const int status = run_stripline(argc, argv, written);
    return finish_in_result_viewer(status, argc, argv, written, argv[1]);
}
