#include "OutputStream.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
constexpr size_t buffer_size = 1 << 20;
}

OutputStream::OutputStream(int fd_) : fd(fd_), buf(buffer_size) {}

OutputStream::~OutputStream() { flush(); }

bool OutputStream::flush()
{
    size_t done = 0;
    while (good && done < used) {
        const ssize_t n = ::write(fd, buf.data() + done, used - done);
        if (n > 0)
            done += size_t(n);
        else if (!(n < 0 && errno == EINTR))
            good = false;
    }
    used = 0;
    return good;
}

void OutputStream::reserve(size_t n)
{
    if (buf.size() - used < n)
        flush();
}

void OutputStream::write(const void *data, size_t n)
{
    if (n >= buf.size() / 2) {
        flush();
        const char *p = static_cast<const char *>(data);
        while (good && n > 0) {
            const ssize_t got = ::write(fd, p, n);
            if (got > 0) {
                p += got;
                n -= size_t(got);
            } else if (!(got < 0 && errno == EINTR)) {
                good = false;
            }
        }
        return;
    }
    reserve(n);
    std::memcpy(buf.data() + used, data, n);
    used += n;
}

void OutputStream::put(char c)
{
    reserve(1);
    buf[used++] = c;
}

void OutputStream::puts(const char *text) { write(text, std::strlen(text)); }

void OutputStream::printf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    reserve(1024);
    const int n = std::vsnprintf(buf.data() + used, buf.size() - used, format, args);
    if (n >= 0 && size_t(n) < buf.size() - used) {
        used += size_t(n);
    } else if (n >= 0) {
        std::vector<char> big(size_t(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        write(big.data(), size_t(n));
    } else {
        good = false;
    }
    va_end(again);
    va_end(args);
}

void OutputStream::write_float(float value)
{
    reserve(32);
    const auto r = std::to_chars(buf.data() + used, buf.data() + buf.size(), value,
                                 std::chars_format::general, 7);
    used = size_t(r.ptr - buf.data());
}

void OutputStream::write_int(int value)
{
    reserve(16);
    const auto r = std::to_chars(buf.data() + used, buf.data() + buf.size(), value);
    used = size_t(r.ptr - buf.data());
}
