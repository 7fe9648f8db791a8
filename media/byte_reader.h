// One bounds-checked reader for untrusted file bytes (bitmaps, WAVE files). Every read
// states its offset and fails instead of reading past the real end of the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "media/big_memory.h"

struct ByteReader {
    std::span<const uint8_t> bytes;

    size_t Size() const { return bytes.size(); }
    // True when [offset, offset + count) lies inside the buffer (no overflow).
    bool Has(size_t offset, size_t count) const {
        return offset <= bytes.size() && count <= bytes.size() - offset;
    }
    std::optional<uint8_t> U8(size_t offset) const {
        if (!Has(offset, 1)) return std::nullopt;
        return bytes[offset];
    }
    std::optional<uint16_t> U16(size_t offset) const {
        if (!Has(offset, 2)) return std::nullopt;
        return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
    std::optional<uint32_t> U32(size_t offset) const {
        if (!Has(offset, 4)) return std::nullopt;
        return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
               (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
               (static_cast<uint32_t>(bytes[offset + 3]) << 24);
    }
    std::optional<int32_t> I32(size_t offset) const {
        auto v = U32(offset);
        if (!v) return std::nullopt;
        return static_cast<int32_t>(*v);
    }
    // True when the four bytes at offset spell tag.
    bool TagIs(size_t offset, const char (&tag)[5]) const {
        if (!Has(offset, 4)) return false;
        for (size_t i = 0; i < 4; ++i)
            if (bytes[offset + i] != static_cast<uint8_t>(tag[i])) return false;
        return true;
    }
    // A sub-span, empty when it does not fit.
    std::span<const uint8_t> Slice(size_t offset, size_t count) const {
        if (!Has(offset, count)) return {};
        return bytes.subspan(offset, count);
    }
};

using FileBytes = std::vector<uint8_t, BigAllocator<uint8_t>>;

// Larger files are refused: well above any real picture or sound, and far below what
// would exhaust memory.
inline constexpr size_t kMaxFileBytes = size_t{64} << 20;

struct FileRead {
    std::optional<FileBytes> bytes;  // nullopt on failure
    bool missing = false;            // nothing at the path at all
    const char* why = "";            // the reason of a failure, for the player
};

// Reads a whole regular file of at most kMaxFileBytes in one piece. Anything else (a
// FIFO, a device, a folder, a larger file) is refused without waiting or reading it.
FileRead ReadWholeFile(const char* path);
