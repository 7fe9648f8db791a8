// Sprites: pictures in numbered slots, loaded from Windows bitmap files and converted
// once to the screen format, drawn opaque or with black transparent into the current
// target, clipped to a sub-rectangle, grabbed from the screen, and compared for overlap.
// Depends on draw_target.h (the back buffer) and bmp_reader.h.
#pragma once

#include <cstdint>
#include <memory>

#include "media/picture.h"

int32_t SpriteLoad(int32_t slot, const char* file, int32_t flags = 0);
void SpriteDraw(int32_t slot, int32_t x, int32_t y);
void SpriteDrawKeyed(int32_t slot, int32_t x, int32_t y);
void SpriteClip(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t SpriteGrab(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t SpritesCollide(int32_t slot1, int32_t x1, int32_t y1, int32_t slot2, int32_t x2, int32_t y2);

// --- beyond the game's operations ---

struct SpriteInfo {
    const Picture* picture = nullptr;  // null: empty slot
    int32_t width = 0, height = 0;     // displayed size (the clip)
    int32_t clipX = 0, clipY = 0;
    int32_t fullWidth = 0, fullHeight = 0;
    int32_t loadFlags = 0;
};
SpriteInfo SpriteGetInfo(int32_t slot);
// Frees every sprite slot and leaves an empty table of 50 (DisplayInit and ScreenClose).
void SpritesFreeAll();
// The picture of a slot loaded with flags 4, shared with the rotated sprite made from it:
// it stays alive for that rotated sprite when the slot is reloaded or freed. Null for an
// empty slot or one loaded with other flags.
std::shared_ptr<const Picture> SpriteTexture(int32_t slot);

// Flag values of SpriteLoad.
inline constexpr int32_t kSpriteFlagRaw = 2;      // raw memory picture: not drawable
inline constexpr int32_t kSpriteFlagTexture = 4;  // usable by the rotated sprites
