// Feeds arbitrary bytes to the bitmap reader: it must fail cleanly, never read outside
// the buffer, and what it accepts must be a consistent picture.
#include <cstdint>
#include <cstdlib>

#include "media/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BitmapResult r = ReadBitmap({data, size});
    if (r.ok) {
        const Picture& p = r.picture;
        if (p.width <= 0 || p.height <= 0 || p.width > kBitmapMaxSide || p.height > kBitmapMaxSide ||
            p.pixels.size() != static_cast<size_t>(p.width) * static_cast<size_t>(p.height))
            std::abort();
        // Touch every pixel so a short buffer shows up under the sanitizer.
        uint32_t sum = 0;
        for (uint32_t px : p.pixels) sum += px >> 24;
        if (sum != 0) std::abort();  // the screen format has no alpha byte
    }
    return 0;
}
