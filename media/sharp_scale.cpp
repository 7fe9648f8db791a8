#include "media/sharp_scale.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// (a x (256 - w) + b x w) / 256 per channel, rounded: red and blue in one product, green
// in another, with room between them for the carries.
inline uint32_t Blend(uint32_t a, uint32_t b, int32_t w) {
    const uint32_t wb = static_cast<uint32_t>(w), wa = 256u - wb;
    const uint32_t rb = (((a & 0xFF00FFu) * wa + (b & 0xFF00FFu) * wb + 0x800080u) >> 8) & 0xFF00FFu;
    const uint32_t g = (((a & 0xFF00u) * wa + (b & 0xFF00u) * wb + 0x8000u) >> 8) & 0xFF00u;
    return rb | g;
}

// Blend over a whole row, the same sums as Blend: eight channels at a time in 16-bit lanes.
void BlendRow(uint32_t* out, const uint32_t* a, const uint32_t* b, int32_t w, int32_t count) {
    int32_t x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128);
    const __m128i wa = _mm_set1_epi16(static_cast<int16_t>(256 - w)), wb = _mm_set1_epi16(static_cast<int16_t>(w));
    const auto mix = [&](__m128i p, __m128i q) {
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(p, wa), _mm_mullo_epi16(q, wb)), half), 8);
    };
    for (; x + 4 <= count; x += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
        const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
        const __m128i low = mix(_mm_unpacklo_epi8(p, zero), _mm_unpacklo_epi8(q, zero));
        const __m128i high = mix(_mm_unpackhi_epi8(p, zero), _mm_unpackhi_epi8(q, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(low, high));
    }
#endif
    for (; x < count; ++x) out[x] = Blend(a[x], b[x], w);
}

// Picture row `row` scaled across into the line that keeps it: consecutive rows go to
// different lines, so a blended output row finds both of its rows. Every column is a blend
// (a pure one weighs its second pixel 0 or 256): no branch, four columns at a time.
const uint32_t* Line(SharpScaler* s, const uint32_t* src, int32_t row) {
    const int slot = row & 1;
    std::vector<uint32_t>& line = s->lines[slot];
    if (s->lineRow[slot] == row) return line.data();
    const uint32_t* in = src + static_cast<size_t>(row) * s->srcW;
    const int32_t* first = s->columnFirst.data();
    const uint16_t* weight = s->columnWeights.data();
    const int32_t count = static_cast<int32_t>(line.size());
    uint32_t* out = line.data();
    int32_t x = 0;
    if (s->columnsPure) {
        for (; x < count; ++x) out[x] = in[s->columns[static_cast<size_t>(x)].index];
        s->lineRow[slot] = row;
        return out;
    }
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128), whole = _mm_set1_epi16(256);
    const auto mix = [&](__m128i p, __m128i q, __m128i wb) {
        const __m128i wa = _mm_sub_epi16(whole, wb);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(p, wa), _mm_mullo_epi16(q, wb)), half), 8);
    };
    // Each column's two pixels are neighbours: one 8-byte load fetches both.
    const auto pair = [&](int32_t at) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + first[at])); };
    for (; x + 4 <= count; x += 4, weight += 16) {
        const __m128 low = _mm_castsi128_ps(_mm_unpacklo_epi64(pair(x), pair(x + 1)));
        const __m128 high = _mm_castsi128_ps(_mm_unpacklo_epi64(pair(x + 2), pair(x + 3)));
        const __m128i p = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i q = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1)));
        const __m128i lo = mix(_mm_unpacklo_epi8(p, zero), _mm_unpacklo_epi8(q, zero),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight)));
        const __m128i hi = mix(_mm_unpackhi_epi8(p, zero), _mm_unpackhi_epi8(q, zero),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; x < count; ++x, weight += 4) out[x] = Blend(in[first[x]], in[first[x] + 1], weight[0]);
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
    s->columnsPure = srcW < 2 || std::all_of(s->columns.begin(), s->columns.end(), [](const SharpTap& t) { return t.weight == 0; });
    // Every column as a blend of a pixel and its right neighbour, both inside the row: a
    // pure last pixel is its left neighbour's neighbour at full weight.
    for (const SharpTap& t : s->columns) {
        const bool last = t.index == srcW - 1;
        s->columnFirst.push_back(last ? t.index - 1 : t.index);
        s->columnWeights.insert(s->columnWeights.end(), 4, static_cast<uint16_t>(last ? 256 : t.weight));
    }
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
        BlendRow(out, a, Line(s, src, tap.index + 1), tap.weight, c.w);
    }
}
