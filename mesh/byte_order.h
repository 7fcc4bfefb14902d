#pragma once
// Byte-order helpers for the binary formats. The machine order is little-endian.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "InputStream.h"

// Reverses the bytes of one value of `size` bytes in place.
inline void swap_bytes(void *p, size_t size)
{
    auto *b = static_cast<unsigned char *>(p);
    std::reverse(b, b + size);
}

// Reverses every 4-byte value of an array in place.
inline void swap_words(void *p, size_t words)
{
    auto *b = static_cast<unsigned char *>(p);
    for (size_t i = 0; i < words; i++, b += 4) {
        uint32_t w;
        std::memcpy(&w, b, 4);
        w = __builtin_bswap32(w);
        std::memcpy(b, &w, 4);
    }
}

// A value of type T from possibly unaligned bytes, byte-reversed when `swap`.
template <typename T>
T load(const unsigned char *p, bool swap)
{
    unsigned char b[sizeof(T)];
    std::memcpy(b, p, sizeof(T));
    if (swap)
        swap_bytes(b, sizeof(T));
    T v;
    std::memcpy(&v, b, sizeof(T));
    return v;
}

// Reads one value of type T in the given byte order; false at the end.
template <typename T>
bool read_value(InputStream &in, bool swap, T &value)
{
    unsigned char b[sizeof(T)];
    if (in.read(b, sizeof(T)) != sizeof(T))
        return false;
    value = load<T>(b, swap);
    return true;
}
