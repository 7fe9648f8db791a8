#include "tools/common/png_writer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>

namespace {

// Stored deflate blocks carry at most this many bytes each.
constexpr size_t kStoredBlockMax = 65535;
// Keeps every length the format stores in 31 bits and the buffer within reason.
constexpr int64_t kMaxRawBytes = int64_t{1} << 30;

std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void PutU32Be(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(static_cast<uint8_t>(v >> 24));
    out->push_back(static_cast<uint8_t>(v >> 16));
    out->push_back(static_cast<uint8_t>(v >> 8));
    out->push_back(static_cast<uint8_t>(v));
}

// Appends bytes one by one: plain, and it keeps the compiler's overflow warnings about
// ranged inserts into a freshly grown vector away.
void Append(std::vector<uint8_t>* out, std::span<const uint8_t> bytes) {
    out->reserve(out->size() + bytes.size());
    for (uint8_t b : bytes) out->push_back(b);
}

// Appends length, type, data and the CRC over type and data.
void PutChunk(std::vector<uint8_t>* out, const char type[4], std::span<const uint8_t> data) {
    PutU32Be(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out->size();
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(type[i]));
    Append(out, data);
    PutU32Be(out, PngCrc32(std::span<const uint8_t>(out->data() + typeAt, 4 + data.size())));
}

// Each row: filter type 0 (none), then red, green, blue per pixel.
std::vector<uint8_t> RawRows(int32_t width, int32_t height, const uint32_t* pixels) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + static_cast<size_t>(width) * 3));
    for (int32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            raw.push_back(static_cast<uint8_t>(row[x] >> 16));
            raw.push_back(static_cast<uint8_t>(row[x] >> 8));
            raw.push_back(static_cast<uint8_t>(row[x]));
        }
    }
    return raw;
}

// A zlib stream (header 78 01: deflate, 32 KiB window, no dictionary) of stored blocks.
std::vector<uint8_t> ZlibStored(std::span<const uint8_t> raw) {
    std::vector<uint8_t> z;
    z.reserve(raw.size() + raw.size() / kStoredBlockMax * 5 + 16);
    z.push_back(0x78);
    z.push_back(0x01);
    size_t at = 0;
    do {
        const size_t len = std::min(kStoredBlockMax, raw.size() - at);
        const bool last = at + len == raw.size();
        z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        z.push_back(static_cast<uint8_t>(len));
        z.push_back(static_cast<uint8_t>(len >> 8));
        z.push_back(static_cast<uint8_t>(~len));
        z.push_back(static_cast<uint8_t>(~len >> 8));
        Append(&z, raw.subspan(at, len));
        at += len;
    } while (at < raw.size());
    PutU32Be(&z, PngAdler32(raw));
    return z;
}

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

uint32_t PngCrc32(std::span<const uint8_t> bytes) {
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (uint8_t b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t PngAdler32(std::span<const uint8_t> bytes) {
    constexpr uint32_t kMod = 65521;
    uint32_t a = 1;
    uint32_t b = 0;
    // 5552 bytes is the most that can be summed before b could overflow 32 bits.
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t end = std::min(bytes.size(), at + 5552);
        for (; at < end; ++at) {
            a += bytes[at];
            b += a;
        }
        a %= kMod;
        b %= kMod;
    }
    return (b << 16) | a;
}

bool EncodePng(int32_t width, int32_t height, const uint32_t* pixels, std::vector<uint8_t>* out,
               std::string* error) {
    if (width <= 0 || height <= 0) return Fail(error, "picture size must be positive");
    if (!pixels || !out) return Fail(error, "no pixels or no output");
    if ((1 + int64_t{width} * 3) * height > kMaxRawBytes) return Fail(error, "picture too large");

    const std::vector<uint8_t> raw = RawRows(width, height, pixels);
    const std::vector<uint8_t> idat = ZlibStored(raw);

    std::vector<uint8_t> ihdr;
    PutU32Be(&ihdr, static_cast<uint32_t>(width));
    PutU32Be(&ihdr, static_cast<uint32_t>(height));
    ihdr.push_back(8);  // bits per channel
    ihdr.push_back(2);  // colour type: RGB
    ihdr.push_back(0);  // compression: deflate
    ihdr.push_back(0);  // filter method
    ihdr.push_back(0);  // no interlace

    out->clear();
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Append(out, kSignature);
    PutChunk(out, "IHDR", ihdr);
    PutChunk(out, "IDAT", idat);
    PutChunk(out, "IEND", {});
    return true;
}

bool WritePng(const char* path, int32_t width, int32_t height, const uint32_t* pixels, std::string* error) {
    if (!path) return Fail(error, "no file name");
    std::vector<uint8_t> bytes;
    if (!EncodePng(width, height, pixels, &bytes, error)) return false;
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return Fail(error, std::string("cannot open ") + path + " for writing");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) return Fail(error, std::string("cannot write ") + path);
    return true;
}
