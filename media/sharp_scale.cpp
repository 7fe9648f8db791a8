#include "media/sharp_scale.h"

#include <algorithm>
#include <cstring>

namespace {

// (a x (256 - w) + b x w) / 256 per channel, rounded: red and blue in one product, green
// in another, with room between them for the carries.
inline uint32_t Blend(uint32_t a, uint32_t b, int32_t w) {
    const uint32_t wb = static_cast<uint32_t>(w), wa = 256u - wb;
    const uint32_t rb = (((a & 0xFF00FFu) * wa + (b & 0xFF00FFu) * wb + 0x800080u) >> 8) & 0xFF00FFu;
    const uint32_t g = (((a & 0xFF00u) * wa + (b & 0xFF00u) * wb + 0x8000u) >> 8) & 0xFF00u;
    return rb | g;
}

// Picture row `row` scaled across into the line that keeps it: consecutive rows go to
// different lines, so a blended output row finds both of its rows.
const uint32_t* Line(SharpScaler* s, const uint32_t* src, int32_t row) {
    const int slot = row & 1;
    std::vector<uint32_t>& line = s->lines[slot];
    if (s->lineRow[slot] == row) return line.data();
    const uint32_t* in = src + static_cast<size_t>(row) * s->srcW;
    const SharpTap* tap = s->columns.data();
    for (size_t x = 0; x < line.size(); ++x, ++tap)
        line[x] = tap->weight ? Blend(in[tap->index], in[tap->index + 1], tap->weight) : in[tap->index];
    s->lineRow[slot] = row;
    return line.data();
}

}  // namespace

std::vector<SharpTap> SharpTaps(int32_t from, int32_t to, int32_t first, int32_t count) {
    std::vector<SharpTap> taps(static_cast<size_t>(std::max(count, 0)));
    if (from <= 0 || to <= 0) return taps;
    // The whole-number multiple at or above the target; the linear step samples it at
    // output pixel centres: u = (x + 1/2) x prescaled / to - 1/2, kept as num / den.
    const int64_t k = std::max<int64_t>(1, (int64_t{to} + from - 1) / from), prescaled = k * from;
    const int64_t den = 2 * int64_t{to};
    for (int32_t i = 0; i < count; ++i) {
        const int64_t num = (2 * int64_t{first + i} + 1) * prescaled - to;  // never below zero
        const int64_t j0 = num / den, j1 = std::min(j0 + 1, prescaled - 1);
        const int64_t i0 = j0 / k, i1 = j1 / k;
        const int64_t w = i0 == i1 ? 0 : ((num - j0 * den) * 256 + den / 2) / den;
        taps[static_cast<size_t>(i)] = w == 256 ? SharpTap{static_cast<int32_t>(i1), 0}
                                                : SharpTap{static_cast<int32_t>(i0), static_cast<int32_t>(w)};
    }
    return taps;
}

void SharpScalerPrepare(SharpScaler* s, int32_t srcW, int32_t srcH, const PixelBlock& dst, PixelRect to) {
    const PixelRect clip = ClipRect(to, dst.width, dst.height);
    if (s->srcW == srcW && s->srcH == srcH && s->to == to && s->clip == clip) return;
    *s = SharpScaler{};
    s->srcW = srcW, s->srcH = srcH, s->to = to, s->clip = clip;
    if (clip.w == 0 || srcW <= 0 || srcH <= 0) return;
    s->columns = SharpTaps(srcW, to.w, clip.x - to.x, clip.w);
    s->rows = SharpTaps(srcH, to.h, clip.y - to.y, clip.h);
    for (auto& line : s->lines) line.resize(static_cast<size_t>(clip.w));
}

void SharpScale(SharpScaler* s, const uint32_t* src, const PixelBlock& dst) {
    const PixelRect c = s->clip;
    if (c.w == 0 || s->rows.empty()) return;
    // The picture may have changed since the last frame: no line is kept across frames.
    s->lineRow[0] = s->lineRow[1] = -1;
    const size_t bytes = static_cast<size_t>(c.w) * 4;
    for (int32_t y = 0; y < c.h; ++y) {
        uint32_t* out = dst.pixels + static_cast<size_t>(c.y + y) * dst.pitch + c.x;
        const SharpTap tap = s->rows[static_cast<size_t>(y)];
        if (y > 0 && tap == s->rows[static_cast<size_t>(y) - 1]) {
            std::memcpy(out, out - dst.pitch, bytes);  // the row just made, again
            continue;
        }
        const uint32_t* a = Line(s, src, tap.index);
        if (tap.weight == 0) {
            std::memcpy(out, a, bytes);
            continue;
        }
        const uint32_t* b = Line(s, src, tap.index + 1);
        for (int32_t x = 0; x < c.w; ++x) out[x] = Blend(a[x], b[x], tap.weight);
    }
}
