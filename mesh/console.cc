#include "console.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>

namespace {

void print_to_stderr(const char *format, va_list args)
{
    char buf[1024];
    std::vsnprintf(buf, sizeof buf, format, args);
    std::fputs(buf, stderr);
    std::fflush(stderr);
}

} // namespace

void progress_printf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    print_to_stderr(format, args);
    va_end(args);
}

void error_printf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    print_to_stderr(format, args);
    va_end(args);
}

uint64_t now_ticks()
{
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

float elapsed_seconds(uint64_t start, uint64_t end)
{
    using period = std::chrono::steady_clock::period;
    const double ticks = static_cast<double>(static_cast<int64_t>(end - start));
    return static_cast<float>(ticks * period::num / period::den);
}

float elapsed_msec(uint64_t start)
{
    return 1000.0f * elapsed_seconds(start, now_ticks());
}
