// Builds WAVE files byte by byte for the reader and sound tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Byte by byte: g++ 12 misreads a bulk insert of an initializer list at -O2 and warns.
inline void PutU16(Bytes& b, uint32_t v) {
    for (int i = 0; i < 2; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void PutU32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// A chunk with the given size field (the body's length unless told) and the pad byte
// after an odd body.
inline Bytes Chunk(const char* tag, const Bytes& body, int64_t sizeField = -1) {
    Bytes b(tag, tag + 4);
    PutU32(b, sizeField < 0 ? uint32_t(body.size()) : uint32_t(sizeField));
    b.insert(b.end(), body.begin(), body.end());
    if (sizeField < 0 && body.size() % 2) b.push_back(0);
    return b;
}

inline Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t blockAlign) {
    Bytes b;
    PutU16(b, tag);
    PutU16(b, channels);
    PutU32(b, rate);
    PutU32(b, rate * blockAlign);
    PutU16(b, blockAlign);
    PutU16(b, bits);
    return b;
}
inline Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    return FormatBody(1, channels, rate, bits, uint16_t(channels * bits / 8));
}

// "RIFF", a size field, "WAVE", then the chunks as given.
inline Bytes Riff(std::initializer_list<Bytes> chunks) {
    Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) b.insert(b.end(), c.begin(), c.end());
    const Bytes size = [&] { Bytes s; PutU32(s, uint32_t(b.size() - 8)); return s; }();
    std::copy(size.begin(), size.end(), b.begin() + 4);
    return b;
}

// Signed 16-bit mono samples of one value.
inline Bytes Constant16(int16_t value, size_t frames) {
    Bytes b;
    for (size_t i = 0; i < frames; ++i) PutU16(b, uint16_t(value));
    return b;
}
