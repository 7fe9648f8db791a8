// Rotated translucent sprites: a textured quadrilateral, turned and blended into the
// back buffer by our own rasterizer, in batches. Depends on sprite.h and window.h.
#pragma once

#include <cstdint>

// Blend factor numbers (the classic 3-D blend enumeration).
enum BlendFactor : int32_t {
    kBlendZero = 1,
    kBlendOne = 2,
    kBlendSrcColor = 3,
    kBlendInvSrcColor = 4,
    kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6,
    kBlendDestAlpha = 7,
    kBlendInvDestAlpha = 8,
    kBlendDestColor = 9,
    kBlendInvDestColor = 10,
    kBlendSrcAlphaSat = 11,
    kBlendBothSrcAlpha = 12,     // source only: also sets the destination to 1 - source alpha
    kBlendBothInvSrcAlpha = 13,  // source only: 1 - source alpha, destination source alpha
};

int32_t RotatedSpritesInit();
int32_t RotatedSpriteCreate(int32_t slot, int32_t spriteSlot);
int32_t RotatedBegin();
void RotatedBlendMode(int32_t source, int32_t destination);
void RotatedSpriteRotate(int32_t slot, int32_t angle, int32_t mode);
void RotatedSpriteZoom(int32_t slot, int32_t width, int32_t height);
void RotatedSpriteDraw(int32_t slot, int32_t x, int32_t y, int32_t alpha);
void RotatedSpriteDrawOpaque(int32_t slot, int32_t x, int32_t y);
void RotatedEnd();
void RotatedSpritesEnd();
