// Large zero-filled blocks straight from the system. Touching fresh memory costs a page
// fault per 4 KiB page, and on virtual machines a fault is slow (about 10 us seen here),
// so on Linux a block is mapped aligned to 2 MiB and marked for huge pages, to fault in
// a few large steps. Windows gives committed pages; elsewhere the heap serves.
#pragma once

#include <cstddef>

// Zero-filled, or nullptr when the system refuses.
void* PagesMap(size_t bytes);
// `bytes` as given to PagesMap.
void PagesUnmap(void* block, size_t bytes);
