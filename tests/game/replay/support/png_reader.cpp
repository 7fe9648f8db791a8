#include "png_reader.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

uint32_t Be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Bit by bit, not table driven: slow but plainly the polynomial of the format.
uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint64_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return static_cast<uint32_t>((b << 16) | a);
}

PngImage Fail(const std::string& why) {
    PngImage img;
    img.error = why;
    return img;
}

bool Inflate(const std::vector<uint8_t>& z, std::vector<uint8_t>* out, std::string* error) {
    if (z.size() < 6 || (z[0] & 0x0F) != 8 || ((z[0] << 8) | z[1]) % 31 != 0 || (z[1] & 0x20)) {
        *error = "bad zlib header";
        return false;
    }
    size_t at = 2;
    bool last = false;
    while (!last) {
        if (at + 5 > z.size()) { *error = "truncated deflate block"; return false; }
        uint8_t head = z[at];
        last = head & 1;
        if ((head >> 1) != 0) { *error = "only stored deflate blocks are expected"; return false; }
        uint32_t len = z[at + 1] | (z[at + 2] << 8);
        uint32_t nlen = z[at + 3] | (z[at + 4] << 8);
        if ((len ^ 0xFFFFu) != nlen) { *error = "stored block length check fails"; return false; }
        at += 5;
        if (at + len > z.size()) { *error = "stored block runs past the data"; return false; }
        out->insert(out->end(), z.begin() + static_cast<long>(at), z.begin() + static_cast<long>(at + len));
        at += len;
    }
    if (at + 4 != z.size()) { *error = "Adler-32 missing or data after it"; return false; }
    if (Be32(&z[at]) != Adler32(*out)) { *error = "Adler-32 mismatch"; return false; }
    return true;
}

int Paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Undoes the row filters in place; rows of 1 + 3 * width bytes.
bool Unfilter(std::vector<uint8_t>* raw, int32_t width, int32_t height, std::string* error) {
    const size_t stride = 1 + static_cast<size_t>(width) * 3;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = raw->data() + y * stride;
        const uint8_t* up = y > 0 ? row - stride : nullptr;
        for (size_t i = 1; i < stride; ++i) {
            int a = i > 3 ? row[i - 3] : 0, b = up ? up[i] : 0, c = (up && i > 3) ? up[i - 3] : 0;
            int add = 0;
            switch (row[0]) {
                case 0: add = 0; break;
                case 1: add = a; break;
                case 2: add = b; break;
                case 3: add = (a + b) / 2; break;
                case 4: add = Paeth(a, b, c); break;
                default: *error = "unknown row filter"; return false;
            }
            row[i] = static_cast<uint8_t>(row[i] + add);
        }
    }
    return true;
}

}  // namespace

PngImage ReadPngFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail("cannot open " + path);
    std::vector<uint8_t> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (f.size() < 8 || !std::equal(kSignature, kSignature + 8, f.begin())) return Fail("no PNG signature");

    PngImage img;
    std::vector<uint8_t> z;
    bool sawHeader = false, sawEnd = false;
    size_t at = 8;
    while (at < f.size() && !sawEnd) {
        if (at + 12 > f.size()) return Fail("truncated chunk");
        uint32_t len = Be32(&f[at]);
        if (len > f.size() - at - 12) return Fail("chunk runs past the file");
        std::string type(reinterpret_cast<const char*>(&f[at + 4]), 4);
        const uint8_t* data = &f[at + 8];
        if (Crc32(&f[at + 4], len + 4) != Be32(data + len)) return Fail("CRC mismatch in " + type);
        if (type == "IHDR") {
            if (len != 13) return Fail("bad IHDR");
            img.width = static_cast<int32_t>(Be32(data));
            img.height = static_cast<int32_t>(Be32(data + 4));
            if (data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 || data[12] != 0)
                return Fail("only 8-bit RGB without interlace is expected");
            if (img.width <= 0 || img.height <= 0 || img.width > 10000 || img.height > 10000)
                return Fail("bad size");
            sawHeader = true;
        } else if (type == "IDAT") {
            if (!sawHeader) return Fail("IDAT before IHDR");
            z.insert(z.end(), data, data + len);
        } else if (type == "IEND") {
            sawEnd = true;
        }
        at += 12 + len;
    }
    if (!sawHeader || !sawEnd) return Fail("IHDR or IEND missing");
    if (at != f.size()) return Fail("data after IEND");

    std::vector<uint8_t> raw;
    std::string error;
    if (!Inflate(z, &raw, &error)) return Fail(error);
    if (raw.size() != static_cast<size_t>(img.height) * (1 + static_cast<size_t>(img.width) * 3))
        return Fail("pixel data has the wrong size");
    if (!Unfilter(&raw, img.width, img.height, &error)) return Fail(error);
    img.pixels.resize(static_cast<size_t>(img.width) * img.height);
    const size_t stride = 1 + static_cast<size_t>(img.width) * 3;
    for (int32_t y = 0; y < img.height; ++y)
        for (int32_t x = 0; x < img.width; ++x) {
            const uint8_t* p = &raw[y * stride + 1 + static_cast<size_t>(x) * 3];
            img.pixels[static_cast<size_t>(y) * img.width + x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
        }
    img.ok = true;
    return img;
}
