// Text drawing into the back buffer: one built-in font, black on an opaque white box,
// at a running position that starts at the top-left corner for each block.
// Depends on SDL2_ttf and draw_target.h; the font is embedded in the executable.
#pragma once

#include <cstdint>

#include "media/picture.h"

struct DrawTarget {
    int32_t kind = 7;  // 7: the screen's back buffer
};

void DrawingInit();
DrawTarget* ScreenDrawTarget();
// Returns a non-null handle when a block is open.
void* DrawBegin(DrawTarget* target);
void TextDraw(const char* text);
void DrawEnd();

// --- beyond the game's operations ---

// Ends an open block and gives the back buffer back (ScreenFlip and ScreenClose do this).
void DrawReleaseScreen();
// Releases the font and its cache and closes any block (DisplayEnd does this); the next
// text draws open the font again.
void DrawingEnd();
// Width and height in pixels of a text in the built-in font; {0, 0} when the font
// cannot be opened.
struct TextSize {
    int32_t width = 0, height = 0;
};
TextSize TextMeasure(const char* text);
// The same box and text written into any picture with its top-left corner at (x, y),
// clipped to the picture (the presentation's overlay draws with it).
void TextDrawOnto(Picture& target, int32_t x, int32_t y, const char* text);
