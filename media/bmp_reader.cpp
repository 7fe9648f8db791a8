// The Windows bitmap reader. Provides ReadBitmap: "BM" files, uncompressed, 1/4/8/16/24/32
// bits per pixel, bottom-up rows padded to 4 bytes, converted once to 0x00RRGGBB.
// Limits: no compression, no top-down (negative height) pictures, at most kBitmapMaxSide
// pixels on a side. Every byte is read through ByteReader and checked against the real
// length of the buffer; the header is never trusted. Depends on byte_reader.h only.
#include "media/bmp_reader.h"

#include <array>
#include <cstddef>

#include "media/byte_reader.h"

namespace {

struct BitmapHeader {
    uint64_t dataOffset = 0;
    uint64_t tableOffset = 0;  // the colour table follows the information header
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bitsPerPixel = 0;
};

BitmapResult Fail(const char* why) {
    BitmapResult r;
    r.error = why;
    return r;
}

bool KnownDepth(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads and checks the fixed fields; returns an error text or null.
const char* ReadHeader(const ByteReader& in, BitmapHeader& h) {
    if (!in.Has(0, 2) || in.bytes[0] != 'B' || in.bytes[1] != 'M') return "not a bitmap";
    auto dataOffset = in.U32(10);
    auto infoSize = in.U32(14);
    auto width = in.I32(18);
    auto height = in.I32(22);
    auto bits = in.U16(28);
    auto compression = in.U32(30);
    if (!dataOffset || !infoSize || !width || !height || !bits || !compression) return "header truncated";
    if (*compression != 0) return "compressed bitmaps are not read";
    if (*width <= 0 || *height <= 0) return "width or height not positive";
    if (*width > kBitmapMaxSide || *height > kBitmapMaxSide) return "picture too large";
    if (!KnownDepth(*bits)) return "unsupported bits per pixel";
    h.dataOffset = *dataOffset;
    h.tableOffset = 14ull + *infoSize;
    h.width = *width;
    h.height = *height;
    h.bitsPerPixel = *bits;
    return nullptr;
}

// The colour table as 256 entries: those the file holds between the table's start and
// the pixel data (and before its real end) are read, every other index stays black.
std::array<uint32_t, 256> ReadColourTable(const ByteReader& in, const BitmapHeader& h) {
    std::array<uint32_t, 256> table{};
    uint64_t end = h.dataOffset < in.Size() ? h.dataOffset : in.Size();
    if (h.tableOffset >= end) return table;
    uint64_t entries = (end - h.tableOffset) / 4;
    uint64_t wanted = uint64_t{1} << h.bitsPerPixel;
    if (entries > wanted) entries = wanted;
    for (uint64_t i = 0; i < entries; ++i) {
        size_t at = static_cast<size_t>(h.tableOffset + 4 * i);
        uint32_t blue = in.bytes[at], green = in.bytes[at + 1], red = in.bytes[at + 2];
        table[i] = (red << 16) | (green << 8) | blue;
    }
    return table;
}

uint32_t PaletteIndex(const uint8_t* row, int32_t x, uint32_t bits) {
    switch (bits) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
        default: return row[x];
    }
}

uint32_t DirectColour(const uint8_t* row, int32_t x, uint32_t bits) {
    if (bits == 16) {
        uint32_t v = static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
        uint32_t red = (v >> 10) & 31u, green = (v >> 5) & 31u, blue = v & 31u;
        return ((red << 3) << 16) | ((green << 3) << 8) | (blue << 3);
    }
    const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
    return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

// One row of pixels. The depth is chosen once a row: the background's 480,000 pixels are
// read at every start.
void ReadRow(const uint8_t* row, int32_t width, uint32_t bits, const std::array<uint32_t, 256>& table,
             uint32_t* out) {
    if (bits == 24) {
        for (int32_t x = 0; x < width; ++x, row += 3)
            out[x] = (static_cast<uint32_t>(row[2]) << 16) | (static_cast<uint32_t>(row[1]) << 8) | row[0];
    } else if (bits == 8) {
        for (int32_t x = 0; x < width; ++x) out[x] = table[row[x]];
    } else if (bits <= 8) {
        for (int32_t x = 0; x < width; ++x) out[x] = table[PaletteIndex(row, x, bits)];
    } else {
        for (int32_t x = 0; x < width; ++x) out[x] = DirectColour(row, x, bits);
    }
}

}  // namespace

BitmapResult ReadBitmap(std::span<const uint8_t> file) {
    ByteReader in{file};
    BitmapHeader h;
    if (const char* why = ReadHeader(in, h)) return Fail(why);

    // Sizes in 64 bits: the side limit keeps every product far from overflow.
    uint64_t rowBits = static_cast<uint64_t>(h.width) * h.bitsPerPixel;
    uint64_t stride = (rowBits + 31) / 32 * 4;
    uint64_t lastRowBytes = (rowBits + 7) / 8;  // the last row need not carry its padding
    uint64_t needed = stride * static_cast<uint64_t>(h.height - 1) + lastRowBytes;
    if (h.dataOffset > in.Size() || needed > in.Size() - h.dataOffset) return Fail("pixel data truncated");

    std::array<uint32_t, 256> table{};
    if (h.bitsPerPixel <= 8) table = ReadColourTable(in, h);

    BitmapResult result;
    result.picture.width = h.width;
    result.picture.height = h.height;
    result.picture.pixels.resize(static_cast<size_t>(h.width) * static_cast<size_t>(h.height));
    for (int32_t fileRow = 0; fileRow < h.height; ++fileRow) {
        size_t at = static_cast<size_t>(h.dataOffset + stride * static_cast<uint64_t>(fileRow));
        const uint8_t* row = in.bytes.data() + at;
        uint32_t* out = result.picture.Row(h.height - 1 - fileRow);  // bottom row first
        ReadRow(row, h.width, h.bitsPerPixel, table, out);
    }
    result.ok = true;
    return result;
}
