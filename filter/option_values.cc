// Reading option values: the number test and real values.

#include <cstdlib>

#include "options.h"

bool is_number(const char *text)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    std::strtod(text, &end);
    return *end == '\0';
}

float real_value(const char *text) { return float(std::atof(text)); }
