// The text font, built into the executable from the system's font package at build time
// (see embed_file.cmake and CMakeLists.txt), so the game needs no font file at run time.
#pragma once

#include <cstddef>

extern const unsigned char kEmbeddedFont[];
extern const std::size_t kEmbeddedFontSize;
