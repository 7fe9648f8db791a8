#include "media/placement.h"

#include <algorithm>
#include <cstring>
#include <vector>

PixelRect PlacePicture(int32_t outputW, int32_t outputH, int32_t pictureW, int32_t pictureH, ScaleMode mode) {
    if (outputW <= 0 || outputH <= 0 || pictureW <= 0 || pictureH <= 0) return {};
    int64_t w = pictureW, h = pictureH;
    const int32_t scale = std::min(outputW / pictureW, outputH / pictureH);
    if (mode == ScaleMode::Integer && scale >= 1) {
        w *= scale, h *= scale;
    } else if (int64_t{outputW} * pictureH <= int64_t{outputH} * pictureW) {
        // Narrower than the picture's shape: full width, height rounded down.
        w = outputW, h = int64_t{outputW} * pictureH / pictureW;
    } else {
        h = outputH, w = int64_t{outputH} * pictureW / pictureH;
    }
    return {static_cast<int32_t>((outputW - w) / 2), static_cast<int32_t>((outputH - h) / 2),
            static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

PixelRect ClipRect(PixelRect r, int32_t w, int32_t h) {
    const int32_t x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    const int32_t x1 = std::min<int64_t>(int64_t{r.x} + r.w, w), y1 = std::min<int64_t>(int64_t{r.y} + r.h, h);
    return x1 > x0 && y1 > y0 ? PixelRect{x0, y0, x1 - x0, y1 - y0} : PixelRect{};
}

namespace {

// The source index under the centre of destination pixel i of a span of `to` pixels.
int32_t SourceIndex(int64_t i, int64_t from, int64_t to) { return static_cast<int32_t>((2 * i + 1) * from / (2 * to)); }

}  // namespace

void ScalePixels(const uint32_t* src, int32_t srcW, int32_t srcH, const PixelBlock& dst, PixelRect to) {
    const PixelRect clip = ClipRect(to, dst.width, dst.height);
    if (clip.w == 0 || srcW <= 0 || srcH <= 0) return;
    std::vector<int32_t> column(static_cast<size_t>(clip.w));
    for (int32_t x = 0; x < clip.w; ++x) column[x] = SourceIndex(clip.x - to.x + x, srcW, to.w);
    int32_t previous = -1;
    for (int32_t y = 0; y < clip.h; ++y) {
        uint32_t* out = dst.pixels + static_cast<size_t>(clip.y + y) * dst.pitch + clip.x;
        const int32_t sy = SourceIndex(clip.y - to.y + y, srcH, to.h);
        if (sy == previous) {
            // A whole-number scale repeats each row: copy the one just made.
            std::memcpy(out, out - dst.pitch, static_cast<size_t>(clip.w) * 4);
            continue;
        }
        const uint32_t* in = src + static_cast<size_t>(sy) * srcW;
        if (to.w == srcW) {
            std::memcpy(out, in + column[0], static_cast<size_t>(clip.w) * 4);
        } else if (to.w % srcW == 0) {
            // A whole-number scale: each source pixel k times, without the table.
            const int32_t k = to.w / srcW;
            int32_t x = 0, sx = column[0];
            for (int32_t first = k - (clip.x - to.x) % k; x < std::min(first, clip.w); ++x) out[x] = in[sx];
            for (++sx; x + k <= clip.w; x += k, ++sx)
                for (int32_t i = 0; i < k; ++i) out[x + i] = in[sx];
            for (; x < clip.w; ++x) out[x] = in[sx];
        } else {
            for (int32_t x = 0; x < clip.w; ++x) out[x] = in[column[x]];
        }
        previous = sy;
    }
}

void FillOutside(const PixelBlock& dst, PixelRect keep, uint32_t colour) {
    const PixelRect inside = ClipRect(keep, dst.width, dst.height);
    for (int32_t y = 0; y < dst.height; ++y) {
        uint32_t* row = dst.pixels + static_cast<size_t>(y) * dst.pitch;
        if (inside.w == 0 || y < inside.y || y >= inside.y + inside.h) {
            std::fill(row, row + dst.width, colour);
        } else {
            std::fill(row, row + inside.x, colour);
            std::fill(row + inside.x + inside.w, row + dst.width, colour);
        }
    }
}
