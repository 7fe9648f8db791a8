// The Windows bitmap reader: "BM", uncompressed, 1/4/8/16/24/32 bits per pixel,
// bottom-up rows padded to 4 bytes. Takes untrusted bytes; never reads outside them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "media/picture.h"

struct BitmapResult {
    bool ok = false;
    std::string error;  // why the load failed, for tests and tools
    Picture picture;    // in the screen format (0x00RRGGBB)
};

inline constexpr int32_t kBitmapMaxSide = 16384;

BitmapResult ReadBitmap(std::span<const uint8_t> file);
