// Sharp scaling: the picture scaled to any size with its pixels kept square and crisp.
// What a nearest-pixel copy to the whole-number multiple above the target, followed by a
// linear scale down to the target, gives, computed in one pass: each picture pixel becomes
// a block of whole output pixels, and only an output pixel that a block's edge runs
// through is a blend of the two (at a corner four) picture pixels it lies between. At a
// whole-number factor it is exactly the nearest copy. Shrinking (a target smaller than the
// picture) blends neighbours linearly.
// Limits: 32-bit 0x00RRGGBB pixels, 8-bit blend weights (as texture filtering has).
// Pure arithmetic on pixel rows, no SDL; depends on placement.h.
#pragma once

#include <cstdint>
#include <vector>

#include "media/placement.h"

// One output pixel along an axis: the picture pixel it starts from and how much (of 256)
// of the next one is blended in.
struct SharpTap {
    int32_t index = 0;
    int32_t weight = 0;  // 0: the pixel at `index` alone
    bool operator==(const SharpTap&) const = default;
};

// The taps of the output pixels [first, first + count) of an axis that scales `from`
// picture pixels to `to` output pixels.
std::vector<SharpTap> SharpTaps(int32_t from, int32_t to, int32_t first, int32_t count);

// The tables for one picture size, target rectangle and output size, made once per size.
struct SharpScaler {
    int32_t srcW = 0, srcH = 0;        // the picture they were made for
    PixelRect to;                      // the picture's rectangle in the output
    PixelRect clip;                    // its part inside the output
    std::vector<SharpTap> columns;     // one per output column of `clip`
    std::vector<int32_t> columnFirst;  // per column: the first of its two neighbouring picture pixels
    std::vector<uint16_t> columnWeights;  // per column: the second one's weight of 256, once per channel
    bool columnsPure = false;          // no column blends (a whole-number factor across)
    std::vector<SharpTap> rows;        // one per output row of `clip`
    std::vector<uint32_t> lines[2];    // picture rows scaled across, kept for the next rows
    int32_t lineRow[2] = {-1, -1};     // the picture row each line holds; -1: none
};

// Makes the tables unless they already fit these sizes.
void SharpScalerPrepare(SharpScaler* s, int32_t srcW, int32_t srcH, const PixelBlock& dst, PixelRect to);
// Writes the picture (srcW x srcH as prepared, pitch = srcW) into dst's part of `to`.
void SharpScale(SharpScaler* s, const uint32_t* src, const PixelBlock& dst);
