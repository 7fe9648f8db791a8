// WAVE files built byte by byte, for the reader's and the mixer's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Little-endian fields, and byte strings one after the other.
inline Bytes Le(uint32_t v, size_t count = 4) { Bytes b(count); for (size_t i = 0; i < count; ++i) b[i] = uint8_t(v >> 8 * i); return b; }
inline Bytes Cat(std::initializer_list<Bytes> parts) { Bytes b; for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end()); return b; }
// The size field is the body's length unless told; an odd body is followed by a pad byte.
inline Bytes Chunk(const char* tag, const Bytes& body, int64_t size = -1) {
    return Cat({Bytes(tag, tag + 4), Le(uint32_t(size < 0 ? body.size() : size)), body, Bytes(size < 0 ? body.size() % 2 : 0)});
}
inline Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t align = 0) {
    align = align ? align : uint16_t(channels * bits / 8);
    return Cat({Le(tag, 2), Le(channels, 2), Le(rate), Le(rate * align), Le(align, 2), Le(bits, 2)});
}
inline Bytes Riff(std::initializer_list<Bytes> chunks) { return Cat({{'R', 'I', 'F', 'F'}, Le(uint32_t(Cat(chunks).size() + 4)), {'W', 'A', 'V', 'E'}, Cat(chunks)}); }
