// Large pictures and files from the system's pages, small ones from the heap (see big_memory.h).
#include "media/big_memory.h"

#include <cstdlib>

#include "runtime/pages.h"

namespace {

constexpr size_t kBigBlock = size_t{1} << 20;

}  // namespace

void* BigMemoryAllocate(size_t bytes) {
    void* p = bytes < kBigBlock ? std::malloc(bytes ? bytes : 1) : PagesMap(bytes);
    if (!p) throw std::bad_alloc();
    return p;
}

void BigMemoryFree(void* block, size_t bytes) {
    if (!block) return;
    if (bytes < kBigBlock)
        std::free(block);
    else
        PagesUnmap(block, bytes);
}
