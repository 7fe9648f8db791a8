// Huge-page-friendly blocks for large pictures and files (see big_memory.h). Linux mmap.
#include "media/big_memory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {

constexpr size_t kBigBlock = size_t{1} << 20;
constexpr size_t kHugePage = size_t{2} << 20;

size_t MappedSize(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* BigMemoryAllocate(size_t bytes) {
    if (bytes < kBigBlock) {
        void* p = std::malloc(bytes ? bytes : 1);
        if (!p) throw std::bad_alloc();
        return p;
    }
    if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
    size_t size = MappedSize(bytes);
    // Map one huge page more than needed and trim, so the block starts on a 2 MiB boundary.
    size_t span = size + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1);
    if (aligned > start) munmap(raw, aligned - start);
    uintptr_t end = start + span, blockEnd = aligned + size;
    if (end > blockEnd) munmap(reinterpret_cast<void*>(blockEnd), end - blockEnd);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint; fine if refused
#endif
    return reinterpret_cast<void*>(aligned);
}

void BigMemoryFree(void* block, size_t bytes) {
    if (!block) return;
    if (bytes < kBigBlock) {
        std::free(block);
        return;
    }
    munmap(block, MappedSize(bytes));
}
