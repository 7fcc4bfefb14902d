#pragma once
// Buffered writing of mesh files over a file descriptor, with fast number
// formatting. A write error is remembered; once one happened, ok() is false.

#include <cstddef>
#include <vector>

class OutputStream {
public:
    // Does not take ownership of the descriptor.
    explicit OutputStream(int fd);
    ~OutputStream();
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;

    void write(const void *data, size_t n);
    void put(char c);
    void puts(const char *text);
    // printf-style text.
    void printf(const char *format, ...) __attribute__((format(printf, 2, 3)));
    // A float as "%.7g" and an integer as "%d" would print them.
    void write_float(float value);
    void write_int(int value);

    // Direct access to the buffer: room for n bytes (n at most 64 KiB) to be
    // filled by the caller and then committed.
    char *room(size_t n)
    {
        reserve(n);
        return buf.data() + used;
    }
    void commit(size_t n) { used += n; }

    // Writes out the buffer; returns ok().
    bool flush();
    bool ok() const { return good; }

private:
    void reserve(size_t n);

    int fd;
    std::vector<char> buf;
    size_t used = 0;
    bool good = true;
};
