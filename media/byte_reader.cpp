// Whole-file reading for the readers (see byte_reader.h). Depends on the C library only.
#include "media/byte_reader.h"

#include <algorithm>
#include <cstdio>

std::optional<FileBytes> ReadWholeFile(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return std::nullopt;
    FileBytes data;
    // One allocation of the file's size when it can be had, then read until the real
    // end: the size is only a hint (the file may change, or be a pipe).
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0) data.reserve(static_cast<size_t>(size) + 1);
        std::rewind(f);
    }
    size_t used = 0;
    for (;;) {
        if (used == data.size()) data.resize(std::max(data.capacity(), used + 65536));
        size_t n = std::fread(data.data() + used, 1, data.size() - used, f);
        if (n == 0) break;
        used += n;
    }
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    data.resize(used);
    return data;
}
