// A small PNG writer for tools: 8-bit RGB, no interlace, the pixel rows kept in stored
// (uncompressed) deflate blocks, so files are large but the code stays tiny and needs no
// compression library. CRC-32 and Adler-32 are computed here. Depends only on the
// standard library.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Writes a width x height picture to path. pixels holds width * height values 0x00RRGGBB,
// row-major, top row first. Returns false with a reason in *error (when given) on bad
// arguments or a file that cannot be written.
bool WritePng(const char* path, int32_t width, int32_t height, const uint32_t* pixels, std::string* error);

// The same file in memory; false with a reason on bad arguments.
bool EncodePng(int32_t width, int32_t height, const uint32_t* pixels, std::vector<uint8_t>* out,
               std::string* error);

// The checksums the format needs: CRC-32 of each chunk, Adler-32 of the zlib stream.
uint32_t PngCrc32(std::span<const uint8_t> bytes);
uint32_t PngAdler32(std::span<const uint8_t> bytes);
