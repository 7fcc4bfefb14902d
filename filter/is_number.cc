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
