// The window's icon, a 24-bit bitmap painted by the data generator and built into the
// executable at build time (see CMakeLists.txt), on Linux only: Windows programs carry
// theirs as a resource, and the browser has no window to mark.
#pragma once

#include <cstddef>

extern const unsigned char kWindowIcon[];
extern const std::size_t kWindowIconSize;
