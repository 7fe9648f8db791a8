// Placement: where the back buffer goes in a window of any size, and the nearest-pixel
// copy that puts it there. Two ways to place it, centred: filling the window with the
// picture's shape kept (bars on one axis only), or the largest whole-number scale that
// fits, which keeps every pixel square at the cost of the screen's edges; a window too
// small even for 1x gets the filling size. Pure arithmetic on 32-bit pixel rows; no SDL.
#pragma once

#include <cstdint>

struct PixelRect {
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PixelRect&) const = default;
};

enum class ScaleMode { Fill, Integer };

// The picture's rectangle in an output of outputW x outputH pixels, centred.
PixelRect PlacePicture(int32_t outputW, int32_t outputH, int32_t pictureW, int32_t pictureH,
                       ScaleMode mode = ScaleMode::Integer);
// The part of `r` inside a block of w x h (empty if none).
PixelRect ClipRect(PixelRect r, int32_t w, int32_t h);

// A block of 32-bit pixels with its row pitch in pixels.
struct PixelBlock {
    uint32_t* pixels = nullptr;
    int32_t width = 0, height = 0, pitch = 0;
};

// Copies src (width x height, pitch = width) into dst at `to`, each destination pixel
// taking the source pixel under its centre. Parts of `to` outside dst are left out.
void ScalePixels(const uint32_t* src, int32_t srcW, int32_t srcH, const PixelBlock& dst, PixelRect to);
// Paints everything of dst outside `keep` with one colour (the black bars).
void FillOutside(const PixelBlock& dst, PixelRect keep, uint32_t colour);
