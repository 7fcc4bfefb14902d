#include "driver.h"
#include "window.h"
#include "xform_file.h"

// Filters, then shows the written file until its window is closed.
int main(int argc, char **argv)
{
    const char *written = nullptr;
    const int status = run_stripline(argc, argv, written);
    if (status != 0 || !written)
        return status;
    return show_result_viewer(argc, argv, written, transform_file_name(argv[1]));
}
