#pragma once
// Buffered reading of mesh files: a large buffer over a file descriptor, with
// the byte, line, token and number reads the format readers need. Numbers are
// parsed in place from the buffer; no system call per value.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdint>
#include <string>
#include <vector>

class InputStream {
public:
    // Takes ownership of the descriptor and closes it (standard input included).
    explicit InputStream(int fd);
    ~InputStream();
    InputStream(const InputStream &) = delete;
    InputStream &operator=(const InputStream &) = delete;

    // The next byte, or -1 at the end of the input.
    int get();
    // The byte `ahead` places on without consuming it, or -1 past the end.
    int peek(size_t ahead = 0);
    bool at_end() { return peek() < 0; }

    // Direct access to the buffer: makes up to n bytes available (fewer only at
    // the end of the input, n at most 64 KiB) and returns a pointer to them;
    // `avail` gets how many there are. advance() consumes bytes of that view.
    const unsigned char *view(size_t n, size_t &avail)
    {
        avail = fill(n);
        return reinterpret_cast<const unsigned char *>(buf.data() + pos);
    }
    void advance(size_t n) { pos += n; }

    // Copies up to n bytes into dest; returns how many were copied.
    size_t read(void *dest, size_t n);
    // Skips n bytes; false when the input ends first.
    bool skip(size_t n);

    // Reads a line like fgets: at most size-1 bytes, up to and including the
    // line feed, zero-terminated. Returns its length; 0 when nothing was read.
    size_t read_line(char *buf, size_t size);
    // Skips to just after the next line feed (or to the end).
    void skip_line();

    // Skips white space (and so line ends).
    void skip_space();
    // Skips white space and comments running from "#" to the end of the line.
    void skip_comment_lines();

    // Reads the next white-space separated word (at most max_len bytes, the
    // rest of a longer word is left in the input). Empty at the end.
    std::string read_word(size_t max_len = 1024);
    // Skips the next white-space separated word; false when there is none.
    bool skip_word();

    // Like scanf " %f" / " %d": skip white space, read the longest number
    // prefix. False (nothing consumed beyond the white space) when no number
    // starts there.
    bool read_float(float &value);
    bool read_double(double &value);
    bool read_int(int &value);

    // Bytes left in the input when that is known (regular files), else SIZE_MAX.
    size_t remaining_hint();

    // True when a read failed because of an input error rather than the end.
    bool failed() const { return error; }

private:
    // Makes at least n bytes available from pos on, unless the input ends.
    // Returns the number available (may be fewer than n at the end).
    size_t fill(size_t n);
    // Skips white space, then parses a number in place with `parse`.
    template <typename T>
    bool read_number(T &value, size_t (*parse)(const char *, const char *, T &));
    void note_read(size_t n)
    {
        if (file_left != SIZE_MAX)
            file_left -= std::min(file_left, n);
    }

    int fd;
    std::vector<char> buf;
    size_t pos = 0, end = 0;
    bool eof = false;
    bool error = false;
    size_t file_left = SIZE_MAX;  // bytes not yet read from a regular file
};

// Parses the longest number prefix of [first, last) as scanf "%f" / "%lf"
// would; returns the number of characters used, 0 when none.
size_t parse_float_prefix(const char *first, const char *last, float &value);
size_t parse_double_prefix(const char *first, const char *last, double &value);
// Same for "%d" (values beyond the int range are clamped).
size_t parse_int_prefix(const char *first, const char *last, int &value);
