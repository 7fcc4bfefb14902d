// Every allocation of this test program goes through these operators, which
// refuse any single block above 256 MiB with std::bad_alloc. A reader that
// trusts a count from a header instead of the data that is there then fails
// its test at once instead of exhausting the machine's memory. Blocks come
// from malloc and go back to free in every variant, so that the sanitizers see
// matching pairs.

#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t largest_block = std::size_t(256) << 20;

void *allocate(std::size_t size)
{
    if (size > largest_block)
        return nullptr;
    return std::malloc(size ? size : 1);
}

void *allocate_or_throw(std::size_t size)
{
    if (void *p = allocate(size))
        return p;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size) { return allocate_or_throw(size); }
void *operator new[](std::size_t size) { return allocate_or_throw(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
