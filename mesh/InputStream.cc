#include "InputStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t buffer_size = 1 << 20;
// The smallest buffer, for small files: what view() promises, and a byte more.
constexpr size_t min_buffer_size = (64 << 10) + 1;
// How much text a number is first looked for in; longer numbers get more.
constexpr size_t max_number_len = 512;

bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c)
{
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool starts_with_nocase(const char *p, const char *last, const char *word)
{
    for (; *word; p++, word++)
        if (p == last || (*p | 0x20) != *word)
            return false;
    return true;
}

// Length of the longest prefix of [first, last) that strtod would take as a
// number; 0 when there is none. Sets `hex` for hexadecimal numbers.
size_t number_span(const char *first, const char *last, bool &hex)
{
    const char *p = first;
    hex = false;
    if (p != last && (*p == '+' || *p == '-'))
        p++;
    if (starts_with_nocase(p, last, "inf"))
        return size_t(p - first) + (starts_with_nocase(p, last, "infinity") ? 8 : 3);
    if (starts_with_nocase(p, last, "nan")) {
        p += 3;
        // An optional "(chars)" tail belongs to the number when it is closed.
        if (p != last && *p == '(') {
            const char *q = p + 1;
            while (q != last && (std::isalnum((unsigned char)*q) || *q == '_'))
                q++;
            if (q != last && *q == ')')
                p = q + 1;
        }
        return size_t(p - first);
    }
    bool hex_digits = false;
    char exponent = 'e';
    if (p + 1 < last && p[0] == '0' && (p[1] | 0x20) == 'x' &&
        ((p + 2 < last && is_hex_digit(p[2])) ||
         (p + 3 < last && p[2] == '.' && is_hex_digit(p[3])))) {
        p += 2;
        hex = true;
        hex_digits = true;
        exponent = 'p';
    }
    const auto digit = [hex_digits](char c) { return hex_digits ? is_hex_digit(c) : is_digit(c); };
    const char *mantissa = p;
    while (p != last && digit(*p))
        p++;
    size_t digits = size_t(p - mantissa);
    if (p != last && *p == '.') {
        const char *frac = ++p;
        while (p != last && digit(*p))
            p++;
        digits += size_t(p - frac);
    }
    if (digits == 0)
        return 0;
    if (p != last && (*p | 0x20) == exponent) {
        const char *q = p + 1;
        if (q != last && (*q == '+' || *q == '-'))
            q++;
        if (q != last && is_digit(*q)) {
            while (q != last && is_digit(*q))
                q++;
            p = q;
        }
    }
    return size_t(p - first);
}

template <typename T>
T parse_with_strto(const char *first, size_t n)
{
    const std::string text(first, n);
    if constexpr (std::is_same_v<T, float>)
        return std::strtof(text.c_str(), nullptr);
    else
        return std::strtod(text.c_str(), nullptr);
}

template <typename T>
size_t parse_real_prefix(const char *first, const char *last, T &value)
{
    // A '+' sign is the caller's to skip; the library parser takes no '+'.
    const char *p = first;
    if (p != last && *p == '+' && p + 1 != last && p[1] != '+' && p[1] != '-')
        p++;
    const char *digits = p != last && *p == '-' ? p + 1 : p;
    const bool hex = last - digits > 1 && digits[0] == '0' && (digits[1] | 0x20) == 'x';
    if (!hex) {
        const auto [end, ec] = std::from_chars(p, last, value);
        if (ec == std::errc())
            return size_t(end - first);
        if (ec != std::errc::result_out_of_range)
            return 0;
    }
    // Hexadecimal numbers and values out of range take the library's way, which
    // also gives the infinities and zeros that scanf gives.
    bool is_hex = false;
    const size_t n = number_span(first, last, is_hex);
    if (n > 0)
        value = parse_with_strto<T>(first, n);
    return n;
}

} // namespace

size_t parse_float_prefix(const char *first, const char *last, float &value)
{
    return parse_real_prefix(first, last, value);
}

size_t parse_double_prefix(const char *first, const char *last, double &value)
{
    return parse_real_prefix(first, last, value);
}

size_t parse_int_prefix(const char *first, const char *last, int &value)
{
    const char *p = first;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char *digits = p;
    while (p != last && *p == '0')
        p++;
    // Accumulates at most 18 significant digits; more are beyond the int range anyway.
    const char *significant = p;
    uint64_t v = 0;
    for (; p != last && unsigned(*p - '0') < 10; p++)
        if (p - significant < 18)
            v = v * 10 + unsigned(*p - '0');
        else
            v = uint64_t(INT_MAX) + 1;
    if (p == digits)
        return 0;
    const long long sv = negative ? -(long long)std::min<uint64_t>(v, uint64_t(INT_MAX) + 1)
                                  : (long long)std::min<uint64_t>(v, INT_MAX);
    value = int(sv);
    return size_t(p - first);
}

InputStream::InputStream(int fd_) : fd(fd_)
{
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        if (at >= 0 && at <= st.st_size)
            file_left = size_t(st.st_size - at);
    }
    // A small file gets a buffer of about its size rather than the full one.
    buf.resize(file_left == SIZE_MAX ? buffer_size : std::clamp(file_left + 1, min_buffer_size, buffer_size));
}

size_t InputStream::remaining_hint()
{
    return file_left == SIZE_MAX ? SIZE_MAX : file_left + (end - pos);
}

InputStream::~InputStream()
{
    if (fd >= 0)
        ::close(fd);
}

size_t InputStream::fill(size_t n)
{
    n = std::min(n, buf.size());
    if (end - pos >= n || eof)
        return end - pos;
    if (pos > 0) {
        std::memmove(buf.data(), buf.data() + pos, end - pos);
        end -= pos;
        pos = 0;
    }
    while (end < n && !eof) {
        const ssize_t got = ::read(fd, buf.data() + end, buf.size() - end);
        if (got > 0) {
            end += size_t(got);
            note_read(size_t(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            error = got < 0;
            eof = true;
        }
    }
    return end - pos;
}

int InputStream::get()
{
    if (pos == end && fill(1) == 0)
        return -1;
    return (unsigned char)buf[pos++];
}

int InputStream::peek(size_t ahead)
{
    if (fill(ahead + 1) <= ahead)
        return -1;
    return (unsigned char)buf[pos + ahead];
}

size_t InputStream::read(void *dest, size_t n)
{
    char *out = static_cast<char *>(dest);
    size_t done = std::min(n, end - pos);
    std::memcpy(out, buf.data() + pos, done);
    pos += done;
    // Large blocks go straight into the destination; small ones through the buffer.
    while (done < n && !eof) {
        if (n - done >= buffer_size / 2) {
            const ssize_t got = ::read(fd, out + done, n - done);
            if (got > 0) {
                done += size_t(got);
                note_read(size_t(got));
            }
            else if (!(got < 0 && errno == EINTR)) {
                error = got < 0;
                eof = true;
            }
        } else {
            const size_t avail = fill(n - done);
            const size_t take = std::min(avail, n - done);
            std::memcpy(out + done, buf.data() + pos, take);
            pos += take;
            done += take;
            if (take == 0)
                break;
        }
    }
    return done;
}

bool InputStream::skip(size_t n)
{
    while (n > 0) {
        const size_t avail = fill(std::min(n, buffer_size));
        if (avail == 0)
            return false;
        const size_t take = std::min(avail, n);
        pos += take;
        n -= take;
    }
    return true;
}

size_t InputStream::read_line(char *out, size_t size)
{
    if (size == 0)
        return 0;
    size_t n = 0;
    while (n + 1 < size) {
        if (pos == end && fill(1) == 0)
            break;
        const size_t room = std::min(end - pos, size - 1 - n);
        const char *from = buf.data() + pos;
        const char *nl = static_cast<const char *>(std::memchr(from, '\n', room));
        const size_t take = nl ? size_t(nl - from) + 1 : room;
        std::memcpy(out + n, from, take);
        pos += take;
        n += take;
        if (nl)
            break;
    }
    out[n] = '\0';
    return n;
}

void InputStream::skip_line()
{
    for (;;) {
        if (pos == end && fill(1) == 0)
            return;
        const char *nl = static_cast<const char *>(std::memchr(buf.data() + pos, '\n', end - pos));
        if (nl) {
            pos = size_t(nl - buf.data()) + 1;
            return;
        }
        pos = end;
    }
}

void InputStream::skip_space()
{
    for (;;) {
        if (pos == end && fill(1) == 0)
            return;
        while (pos < end && is_space((unsigned char)buf[pos]))
            pos++;
        if (pos < end)
            return;
    }
}

void InputStream::skip_comment_lines()
{
    for (;;) {
        skip_space();
        if (peek() != '#')
            return;
        skip_line();
    }
}

std::string InputStream::read_word(size_t max_len)
{
    skip_space();
    std::string word;
    while (word.size() < max_len) {
        const int c = peek();
        if (c < 0 || is_space(c))
            break;
        word.push_back(char(c));
        pos++;
    }
    return word;
}

bool InputStream::skip_word()
{
    skip_space();
    if (peek() < 0)
        return false;
    for (;;) {
        while (pos < end && !is_space((unsigned char)buf[pos]))
            pos++;
        if (pos < end || fill(1) == 0)
            return true;
    }
}

template <typename T>
bool InputStream::read_number(T &value, size_t (*parse)(const char *, const char *, T &))
{
    skip_space();
    // A number that runs to the end of what is buffered may go on: look again
    // with more of the input.
    for (size_t window = max_number_len;; window *= 8) {
        const size_t avail = fill(window);
        const size_t n = parse(buf.data() + pos, buf.data() + pos + avail, value);
        if (n < avail || avail < window || window >= buf.size()) {
            pos += n;
            return n > 0;
        }
    }
}

bool InputStream::read_float(float &value) { return read_number(value, parse_float_prefix); }
bool InputStream::read_double(double &value) { return read_number(value, parse_double_prefix); }
bool InputStream::read_int(int &value) { return read_number(value, parse_int_prefix); }
