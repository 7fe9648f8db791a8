// Pictures while they are painted: colours as real numbers on a 0..255 scale, turned into
// 0x00RRGGBB pixels at the end and written as uncompressed 24-bit Windows bitmaps.
// Black (0, 0, 0) is the game's transparent colour, so painting starts from black.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Color {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

Color operator+(Color a, Color b);
Color operator*(Color c, double k);
Color Lerp(Color a, Color b, double t);

struct Canvas {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Color> pixels;  // row-major, top row first

    Canvas() = default;
    Canvas(int32_t w, int32_t h);
    Color& At(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Color& At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Rounds each channel to 0..255 and packs it as 0x00RRGGBB.
uint32_t PackColor(Color c);
std::vector<uint32_t> PackCanvas(const Canvas& canvas);

// A finished picture in the screen's format, as the game reads it back.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

Image ToImage(const Canvas& canvas);

// "BM", 40-byte information header, 24 bits per pixel, bottom row first, rows padded
// to a multiple of four bytes.
std::vector<uint8_t> EncodeBmp(const Image& image);
