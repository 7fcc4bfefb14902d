#include "driver.h"

int run_stripline(int, char **) { return 0; }
