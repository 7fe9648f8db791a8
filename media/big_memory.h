// Memory for large pictures and whole files. Fresh memory faults in page by page, and
// an 800 x 600 picture alone took 5 ms that way on a virtual machine: blocks of 1 MiB
// and more therefore come from the system's pages (runtime/pages.h, huge pages on
// Linux). Smaller blocks come from the ordinary heap.
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
