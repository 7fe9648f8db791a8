// PNG files for the tools (the replay tool's screenshots, the data generator's contact
// sheet): 8-bit RGB, no interlace, compressed and checksummed by libpng. Depends on the
// standard library and libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a width x height picture to path. pixels holds width * height values 0x00RRGGBB,
// row-major, top row first. Returns false with a reason in *error (when given) on bad
// arguments or a file that cannot be written.
bool WritePng(const char* path, int32_t width, int32_t height, const uint32_t* pixels, std::string* error);

// The same file in memory, in *out; false with a reason on bad arguments.
bool EncodePng(int32_t width, int32_t height, const uint32_t* pixels, std::vector<uint8_t>* out,
               std::string* error);
