// Reading option values: the number test and real values.

#include <cmath>
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

bool refuse_non_finite(const FilterRun &run, const char *text, float value)
{
    if (std::isfinite(value))
        return false;
    error_printf("Option %s: [%s] is not a finite number; nothing written.\n",
                 run.option ? run.option : "", text);
    return true;
}

bool real_values(const FilterRun &run, OptionArgs args, std::span<float> values)
{
    for (size_t k = 0; k < values.size(); k++) {
        values[k] = float(std::atof(args[k]));
        if (refuse_non_finite(run, args[k], values[k]))
            return false;
    }
    return true;
}
