// STUB
#include "media/bmp_reader.h"
BitmapResult ReadBitmap(std::span<const uint8_t>) { return {}; }
