#include "runtime/pages.h"

#include <cstdint>
#include <cstdlib>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(_WIN32)

void* PagesMap(size_t bytes) {
    return VirtualAlloc(nullptr, bytes ? bytes : 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void PagesUnmap(void* block, size_t) {
    if (block) VirtualFree(block, 0, MEM_RELEASE);
}

#elif defined(__linux__)

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t MappedSize(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* PagesMap(size_t bytes) {
    if (bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
    const size_t size = MappedSize(bytes ? bytes : 1);
    // One huge page more than needed, trimmed, so the block starts on a 2 MiB boundary.
    const size_t span = size + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const uintptr_t end = start + span, blockEnd = aligned + size;
    if (end > blockEnd) munmap(reinterpret_cast<void*>(blockEnd), end - blockEnd);
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint; fine if refused
    return reinterpret_cast<void*>(aligned);
}

void PagesUnmap(void* block, size_t bytes) {
    if (block) munmap(block, MappedSize(bytes ? bytes : 1));
}

#else

void* PagesMap(size_t bytes) { return std::calloc(bytes ? bytes : 1, 1); }

void PagesUnmap(void* block, size_t) { std::free(block); }

#endif
