// Reads back the PNG files the replay tool writes: 8-bit RGB, no interlace, a zlib
// stream of stored (uncompressed) deflate blocks. Checks every CRC, the zlib header and
// the Adler-32 sum on its own, so a broken file fails here as it would in a viewer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    bool ok = false;
    std::string error;
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom

    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

PngImage ReadPngFile(const std::string& path);
