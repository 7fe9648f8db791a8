// A picture in memory in the screen's format: 32-bit 0x00RRGGBB, rows top to bottom.
// Pixel value 0 (black) is the transparent colour of every sprite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/big_memory.h"

using Pixels = std::vector<uint32_t, BigAllocator<uint32_t>>;

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    Pixels pixels;  // width * height, row-major, top row first

    uint32_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
    uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }
};
