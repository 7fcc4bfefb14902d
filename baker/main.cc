#include "driver.h"

int main(int argc, char **argv)
{
    const char *written = nullptr;
    return run_bake(argc, argv, written);
}
