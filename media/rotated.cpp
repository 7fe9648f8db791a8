// STUB
#include "media/rotated.h"
int32_t RotatedSpritesInit() { return 1; }
int32_t RotatedSpriteCreate(int32_t, int32_t) { return 0; }
int32_t RotatedBegin() { return 0; }
void RotatedBlendMode(int32_t, int32_t) {}
void RotatedSpriteRotate(int32_t, int32_t, int32_t) {}
void RotatedSpriteZoom(int32_t, int32_t, int32_t) {}
void RotatedSpriteDraw(int32_t, int32_t, int32_t, int32_t) {}
void RotatedSpriteDrawOpaque(int32_t, int32_t, int32_t) {}
void RotatedEnd() {}
void RotatedSpritesEnd() {}
