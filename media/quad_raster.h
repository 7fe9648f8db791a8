// Our software rasterizer for the rotated sprites: a picture mapped onto a quadrilateral
// (a strip of two triangles) and blended into a target picture with per-channel factors.
// Limits: nearest-pixel sampling only; black texels are never drawn; no back-face culling.
// A small shape drawn a second time (same corners, same picture) is kept as a list of its
// covered texels, so repeats, like the smoke's puffs, cost only the blending.
// Depends on picture.h only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "media/picture.h"

// Corner positions are snapped to 1/2^kQuadSubBits pixel.
inline constexpr int32_t kQuadSubBits = 8;

// Where a quadrilateral's corners lie relative to its drawing position, in 1/256 pixel,
// in the strip's order: the corners carrying the picture's top-left, top-right,
// bottom-left and bottom-right texels.
struct QuadShape {
    std::array<int64_t, 4> x{}, y{};  // checked in the test builds: a fifth corner stops them
};

// One blend factor of a channel, scaled to 0..255.
enum class ChannelFactorKind { Constant, SrcColor, InvSrcColor, DestColor, InvDestColor };
struct ChannelFactor {
    ChannelFactorKind kind = ChannelFactorKind::Constant;
    int32_t constant = 0;  // for Constant
};

// Each covered pixel becomes texel x source + screen x destination per channel, rounded
// to nearest and limited to 255. The texture must not change while it is shared.
void DrawTexturedQuad(const QuadShape& shape, int32_t x, int32_t y, const std::shared_ptr<const Picture>& texture,
                      ChannelFactor source, ChannelFactor destination, Picture& target);

// Forgets every shape rasterized so far (and the pictures they hold on to).
void QuadStampsClear();
