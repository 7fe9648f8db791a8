// Memory for large pictures and whole files. Touching fresh memory costs a page fault
// per 4 KiB page, and on virtual machines a fault is slow (about 10 us seen here): a
// 800 x 600 picture alone took 5 ms. Blocks of 1 MiB and more are therefore mapped
// aligned to 2 MiB and marked for huge pages, so they fault in a few large steps.
// Smaller blocks come from the ordinary heap. Linux; elsewhere the hint is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

void* BigMemoryAllocate(size_t bytes);  // throws std::bad_alloc like operator new
void BigMemoryFree(void* block, size_t bytes);

template <typename T>
struct BigAllocator {
    using value_type = T;
    BigAllocator() = default;
    template <typename U>
    BigAllocator(const BigAllocator<U>&) {}
    T* allocate(size_t n) {
        if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(BigMemoryAllocate(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) { BigMemoryFree(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const BigAllocator<U>&) const { return true; }
};
