#include "tools/datagen/canvas.h"

#include "tools/datagen/dmath.h"

Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Color operator*(Color c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Color Lerp(Color a, Color b, double t) {
    return {dmath::Mix(a.r, b.r, t), dmath::Mix(a.g, b.g, t), dmath::Mix(a.b, b.b, t)};
}

Canvas::Canvas(int32_t w, int32_t h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}

namespace {

uint32_t Channel(double v) { return static_cast<uint32_t>(dmath::Floor(dmath::Clamp(v, 0.0, 255.0) + 0.5)); }

void PutLe(std::vector<uint8_t>* out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

uint32_t PackColor(Color c) { return (Channel(c.r) << 16) | (Channel(c.g) << 8) | Channel(c.b); }

std::vector<uint32_t> PackCanvas(const Canvas& canvas) {
    std::vector<uint32_t> out;
    out.reserve(canvas.pixels.size());
    for (const Color& c : canvas.pixels) out.push_back(PackColor(c));
    return out;
}

Image ToImage(const Canvas& canvas) { return {canvas.width, canvas.height, PackCanvas(canvas)}; }

std::vector<uint8_t> EncodeBmp(const Image& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
    constexpr uint32_t kHeaderBytes = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + dataBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe(&out, kHeaderBytes + dataBytes, 4);  // file size
    PutLe(&out, 0, 4);                         // reserved
    PutLe(&out, kHeaderBytes, 4);              // offset of the pixel rows
    PutLe(&out, 40, 4);                        // information header size
    PutLe(&out, static_cast<uint32_t>(image.width), 4);
    PutLe(&out, static_cast<uint32_t>(image.height), 4);  // positive: bottom row first
    PutLe(&out, 1, 2);                                     // planes
    PutLe(&out, 24, 2);                                    // bits per pixel
    PutLe(&out, 0, 4);                                     // no compression
    PutLe(&out, dataBytes, 4);
    PutLe(&out, 2835, 4);  // 72 dots per inch, both ways
    PutLe(&out, 2835, 4);
    PutLe(&out, 0, 4);  // no colour table
    PutLe(&out, 0, 4);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        const uint32_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
        for (int32_t x = 0; x < image.width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));        // blue
            out.push_back(static_cast<uint8_t>(row[x] >> 8));   // green
            out.push_back(static_cast<uint8_t>(row[x] >> 16));  // red
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}
