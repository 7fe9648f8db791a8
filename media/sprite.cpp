// STUB
#include "media/sprite.h"
int32_t SpriteLoad(int32_t, const char*, int32_t) { return 0; }
void SpriteDraw(int32_t, int32_t, int32_t) {}
void SpriteDrawKeyed(int32_t, int32_t, int32_t) {}
void SpriteClip(int32_t, int32_t, int32_t, int32_t, int32_t) {}
int32_t SpriteGrab(int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t SpritesCollide(int32_t, int32_t x1, int32_t y1, int32_t, int32_t x2, int32_t y2) {
  return (x2 < x1 + 16 && x2 + 16 > x1 && y2 + 16 > y1 && y2 < y1 + 16) ? 1 : 0; }
SpriteInfo SpriteGetInfo(int32_t) { return {}; }
void SpritesFreeAll() {}
