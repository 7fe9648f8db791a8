// The 64-bit FNV-1a digest: a short, stable name for a run of bytes (the data files a
// recording was made with, the trace lines kept beside committed recordings). Not for
// secrets. Depends on nothing.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint64_t kDigestStart = 0xCBF29CE484222325u;

// `hash` carried on over `size` bytes; start with kDigestStart.
inline uint64_t Digest(uint64_t hash, const void* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<const uint8_t*>(bytes)[i]) * 0x100000001B3u;
    return hash;
}
