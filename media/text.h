// Text drawing into the back buffer: one built-in font, black on an opaque white box,
// at a running position that starts at the top-left corner for each block.
// Depends on SDL2_ttf and window.h; the font is embedded in the executable.
#pragma once

#include <cstdint>

struct DrawTarget {
    int32_t kind = 7;  // 7: the screen's back buffer
};

void DrawingInit();
DrawTarget* ScreenDrawTarget();
// Returns a non-null handle when a block is open.
void* DrawBegin(DrawTarget* target);
void TextDraw(const char* text);
void DrawEnd();
