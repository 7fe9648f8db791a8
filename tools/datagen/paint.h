// Shared painting helpers for the pictures: supersampled shapes, so that the edges of
// small sprites are smooth without leaving murky near-black fringes (which would not be
// transparent and would show as dirt around a sprite).
#pragma once

#include <cstdint>

#include "tools/datagen/canvas.h"
#include "tools/datagen/dmath.h"

// What a shape looks like at one point: its colour and how much of it is there (0..1).
struct Sample {
    Color color;
    double cover = 0.0;
};

// Paints the rectangle (x0, y0, w, h) of canvas with shade(x, y) taken on an n x n grid
// inside every pixel (x and y relative to the rectangle's corner). A pixel whose
// coverage stays below minCover is left as it was; otherwise it becomes the covered
// colour blended over what was there.
template <typename Shade>
void PaintSupersampled(Canvas* canvas, int32_t x0, int32_t y0, int32_t w, int32_t h, int n, double minCover,
                       Shade shade) {
    const double step = 1.0 / n;
    for (int32_t py = 0; py < h; ++py) {
        for (int32_t px = 0; px < w; ++px) {
            Color sum;
            double cover = 0.0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const Sample s = shade(px + (sx + 0.5) * step, py + (sy + 0.5) * step);
                    sum = sum + s.color * s.cover;
                    cover += s.cover;
                }
            }
            cover /= n * n;
            if (cover < minCover) continue;
            Color& dst = canvas->At(x0 + px, y0 + py);
            const Color mean = sum * (1.0 / (n * n * cover));
            dst = Lerp(dst, mean, cover);
        }
    }
}

// Keeps a painted pixel from rounding to black, which the game would treat as a hole.
inline Color KeepVisible(Color c, double floor) {
    const double top = c.r > c.g ? (c.r > c.b ? c.r : c.b) : (c.g > c.b ? c.g : c.b);
    if (top >= floor) return c;
    if (top <= 0.0) return {floor, floor, floor};
    return c * (floor / top);
}
