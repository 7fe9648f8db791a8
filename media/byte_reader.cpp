#include "media/byte_reader.h"

#include <cstdio>

std::optional<std::vector<uint8_t>> ReadWholeFile(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return std::nullopt;
    std::vector<uint8_t> data;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return data;
}
