// The rasterizer of textured quadrilaterals (see quad_raster.h).
//
// Pixel centres and fill rule: pixel (px, py) is drawn when its centre (px + 0.5,
// py + 0.5) lies inside a triangle of the strip; a centre exactly on an edge belongs to
// the triangle only when that edge is a top edge (horizontal, the inside below it) or a
// left edge. So the two triangles share their diagonal without gap or double blending,
// and a square from (100, 100) to (132, 132) covers pixels 100 to 131. Corner offsets
// from the drawing position are snapped to 1/256 pixel and coverage is decided in exact
// integers, so a shape covers the same pixels wherever it is drawn. The texel drawn is
// the one under the pixel centre (nearest), clamped to the picture.
#include "media/quad_raster.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int64_t kSub = int64_t{1} << kQuadSubBits;
constexpr int64_t kStampMaxSide = 128;  // larger shapes are drawn straight into the target
constexpr size_t kStampSlots = 128;
constexpr int64_t kNoLimit = int64_t{1} << 40;

// ---- blending: each covered pixel with a non-black texel ----

inline uint32_t Mix(int32_t s, int32_t fs, int32_t d, int32_t fd) {
    int32_t v = (s * fs + d * fd + 127) / 255;
    return static_cast<uint32_t>(v > 255 ? 255 : v);
}

int32_t FactorValue(const ChannelFactor& f, int32_t src, int32_t dst) {
    switch (f.kind) {
        case ChannelFactorKind::SrcColor: return src;
        case ChannelFactorKind::InvSrcColor: return 255 - src;
        case ChannelFactorKind::DestColor: return dst;
        case ChannelFactorKind::InvDestColor: return 255 - dst;
        default: return f.constant;
    }
}

struct BlendAdd {
    uint32_t operator()(uint32_t s, uint32_t d) const {
        // Adds the three bytes at once; a byte that carries out is set to 255.
        uint32_t sum = ((s & 0x7F7F7Fu) + (d & 0x7F7F7Fu)) ^ ((s ^ d) & 0x808080u);
        uint32_t carry = (((s & d) | ((s | d) & ~sum)) & 0x808080u) >> 7;
        return sum | ((carry << 8) - carry);
    }
};
struct BlendBlack {
    uint32_t operator()(uint32_t, uint32_t) const { return 0; }
};
struct BlendCopy {
    uint32_t operator()(uint32_t s, uint32_t) const { return s; }
};
struct BlendConstant {
    int32_t fs, fd;
    uint32_t operator()(uint32_t s, uint32_t d) const {
        return (Mix(static_cast<int32_t>(s >> 16), fs, static_cast<int32_t>(d >> 16), fd) << 16) |
               (Mix(static_cast<int32_t>((s >> 8) & 255), fs, static_cast<int32_t>((d >> 8) & 255), fd) << 8) |
               Mix(static_cast<int32_t>(s & 255), fs, static_cast<int32_t>(d & 255), fd);
    }
};
struct BlendGeneral {
    ChannelFactor fs, fd;
    uint32_t operator()(uint32_t s, uint32_t d) const {
        uint32_t out = 0;
        for (int shift = 16; shift >= 0; shift -= 8) {
            auto sc = static_cast<int32_t>((s >> shift) & 255), dc = static_cast<int32_t>((d >> shift) & 255);
            out |= Mix(sc, FactorValue(fs, sc, dc), dc, FactorValue(fd, sc, dc)) << shift;
        }
        return out;
    }
};

// ---- coverage ----

struct Vertex {
    int64_t x = 0, y = 0;  // 1/256 pixel, relative to the drawing position
    double u = 0, v = 0;   // texel units: 0..width, 0..height
};

int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// One edge of a triangle, stepped row by row in exact integers. For pixel column px of
// the current row the inside test is c - step * px >= 0 (c carries the fill-rule bias),
// which bounds the span by floor(c / step) from above (step > 0) or by -floor(c / -step)
// from below (step < 0). The quotient and remainder of c advance by a fixed amount per
// row, so no division is needed after the first row.
struct EdgeWalker {
    int64_t divisor = 0;     // |step|; 0: the edge is horizontal
    bool upper = false;      // bounds the span from above
    int64_t q = 0, r = 0;    // c = q * divisor + r, 0 <= r < divisor
    int64_t dq = 0, dr = 0;  // the same split of c's change per row
    int64_t c = 0, dc = 0;   // horizontal edges: inside when c >= 0

    EdgeWalker(const Vertex& a, const Vertex& b, int64_t firstRow) {
        int64_t dx = b.x - a.x, dy = b.y - a.y;
        bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        int64_t cy = firstRow * kSub + kSub / 2;
        c = dx * (cy - a.y) - dy * (kSub / 2 - a.x) + (topLeft ? 0 : -1);
        dc = dx * kSub;
        int64_t step = dy * kSub;
        if (step == 0) return;
        divisor = step > 0 ? step : -step;
        upper = step > 0;
        q = FloorDiv(c, divisor);
        r = c - q * divisor;
        dq = FloorDiv(dc, divisor);
        dr = dc - dq * divisor;
    }
    void Narrow(int64_t& lo, int64_t& hi) const {
        if (divisor == 0) {
            if (c < 0) hi = lo - 1;
        } else if (upper) {
            hi = std::min(hi, q);
        } else {
            lo = std::max(lo, -q);
        }
    }
    void NextRow() {
        c += dc;
        q += dq;
        r += dr;
        if (divisor != 0 && r >= divisor) {
            r -= divisor;
            ++q;
        }
    }
};

struct Rect {
    int64_t left, top, right, bottom;  // inclusive pixel columns and rows
};

// Texel positions along one row of a triangle, in 32.32 fixed point: (u, v) at the
// span's first pixel and the step to the next pixel.
struct SpanTexels {
    int64_t u, v, du, dv;
};

// The texel under a pixel centre (nearest), clamped to the picture when asked to.
template <bool Clamp>
inline uint32_t TexelAt(const Picture& tex, int64_t u, int64_t v) {
    auto tu = static_cast<int32_t>(u >> 32), tv = static_cast<int32_t>(v >> 32);
    if constexpr (Clamp) {
        tu = std::clamp(tu, 0, tex.width - 1);
        tv = std::clamp(tv, 0, tex.height - 1);
    }
    return tex.pixels[static_cast<size_t>(tv) * static_cast<size_t>(tex.width) + static_cast<size_t>(tu)];
}

// Calls Row<Clamp>(py, lo, hi, texels) on the sink for each row of the triangle's pixels
// inside clip; Clamp is false when every texel position of the span lies in the picture.
template <class Sink>
void RasterTriangle(Vertex p0, Vertex p1, Vertex p2, const Picture& texture, const Rect& clip, Sink& sink) {
    int64_t area = (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
    if (area == 0) return;
    if (area < 0) {
        std::swap(p1, p2);
        area = -area;
    }
    int64_t minY = std::min({p0.y, p1.y, p2.y}), maxY = std::max({p0.y, p1.y, p2.y});
    int64_t minX = std::min({p0.x, p1.x, p2.x}), maxX = std::max({p0.x, p1.x, p2.x});
    int64_t rowFirst = std::max(clip.top, (minY - kSub / 2) >> kQuadSubBits);
    int64_t rowLast = std::min(clip.bottom, (maxY - kSub / 2) >> kQuadSubBits);
    int64_t colFirst = (minX - kSub / 2) >> kQuadSubBits, colLast = (maxX - kSub / 2) >> kQuadSubBits;
    if (rowFirst > rowLast || std::max(colFirst, clip.left) > std::min(colLast, clip.right)) return;
    EdgeWalker edges[3] = {{p0, p1, rowFirst}, {p1, p2, rowFirst}, {p2, p0, rowFirst}};

    // Texel coordinates are affine in the pixel position. Each row's stepping starts at
    // the triangle's own left edge, not where the clip cuts it, so a shape samples the
    // same texels wherever it is drawn.
    double fa = static_cast<double>(area) / (kSub * kSub);
    double x0 = static_cast<double>(p0.x) / kSub, y0 = static_cast<double>(p0.y) / kSub;
    double x1 = static_cast<double>(p1.x) / kSub - x0, y1 = static_cast<double>(p1.y) / kSub - y0;
    double x2 = static_cast<double>(p2.x) / kSub - x0, y2 = static_cast<double>(p2.y) / kSub - y0;
    double dudx = ((p1.u - p0.u) * y2 - (p2.u - p0.u) * y1) / fa;
    double dudy = ((p2.u - p0.u) * x1 - (p1.u - p0.u) * x2) / fa;
    double dvdx = ((p1.v - p0.v) * y2 - (p2.v - p0.v) * y1) / fa;
    double dvdy = ((p2.v - p0.v) * x1 - (p1.v - p0.v) * x2) / fa;
    auto fix = [](double value) { return static_cast<int64_t>(std::floor(value * 4294967296.0 + 0.5)); };
    const int64_t du = fix(dudx), dv = fix(dvdx);
    const int64_t uLimit = int64_t{texture.width} << 32, vLimit = int64_t{texture.height} << 32;

    for (int64_t py = rowFirst; py <= rowLast; ++py) {
        int64_t left = colFirst, right = colLast;
        for (EdgeWalker& e : edges) {
            e.Narrow(left, right);
            e.NextRow();
        }
        int64_t lo = std::max(left, clip.left), hi = std::min(right, clip.right);
        if (lo > hi) continue;
        double cx = static_cast<double>(left) + 0.5 - x0, cy = static_cast<double>(py) + 0.5 - y0;
        SpanTexels t{fix(p0.u + dudx * cx + dudy * cy) + du * (lo - left),
                     fix(p0.v + dvdx * cx + dvdy * cy) + dv * (lo - left), du, dv};
        int64_t uEnd = t.u + du * (hi - lo), vEnd = t.v + dv * (hi - lo);
        bool inside = std::min(t.u, uEnd) >= 0 && std::max(t.u, uEnd) < uLimit && std::min(t.v, vEnd) >= 0 &&
                      std::max(t.v, vEnd) < vLimit;
        if (inside)
            sink.template Row<false>(py, lo, hi, t);
        else
            sink.template Row<true>(py, lo, hi, t);
    }
}

void ToVertices(const QuadShape& shape, const Picture& texture, Vertex (&q)[4]) {
    for (int i = 0; i < 4; ++i) {
        q[i].x = shape.x[i];
        q[i].y = shape.y[i];
        q[i].u = (i & 1) ? texture.width : 0;
        q[i].v = (i & 2) ? texture.height : 0;
    }
}

template <class Sink>
void RasterQuad(const QuadShape& shape, const Picture& texture, const Rect& clip, Sink& sink) {
    Vertex q[4];
    ToVertices(shape, texture, q);
    RasterTriangle(q[0], q[1], q[2], texture, clip, sink);  // the strip: 0 1 2, then 1 3 2
    RasterTriangle(q[1], q[3], q[2], texture, clip, sink);
}

// ---- drawing straight into the target (large shapes) ----

template <class Blend>
struct BlendSink {
    Picture& target;
    const Picture& texture;
    int64_t x, y;  // the drawing position: offsets become target pixels
    Blend blend;
    template <bool Clamp>
    void Row(int64_t py, int64_t lo, int64_t hi, SpanTexels t) {
        uint32_t* row = target.Row(static_cast<int32_t>(py + y));
        for (int64_t px = lo; px <= hi; ++px, t.u += t.du, t.v += t.dv) {
            uint32_t s = TexelAt<Clamp>(texture, t.u, t.v);
            if (s != 0) row[px + x] = blend(s, row[px + x]);  // black texels are never drawn
        }
    }
};

// ---- stamps: a small shape's non-black texels, rasterized once ----

struct Run {
    int32_t dy, dx, count;
    uint32_t first;  // index of its first colour
};

struct Stamp {
    bool seen = false;   // the shape was drawn once straight into the target
    bool built = false;  // runs and colours hold it
    std::shared_ptr<const Picture> texture;  // held, so its address cannot be reused
    QuadShape shape;
    std::vector<Run> runs;
    std::vector<uint32_t> colours;
};

struct StampSink {
    Stamp& stamp;
    const Picture& texture;
    template <bool Clamp>
    void Row(int64_t py, int64_t lo, int64_t hi, SpanTexels t) {
        size_t at = stamp.colours.size();
        stamp.colours.resize(at + static_cast<size_t>(hi - lo + 1));
        uint32_t* out = stamp.colours.data();
        Run* open = nullptr;
        for (int64_t px = lo; px <= hi; ++px, t.u += t.du, t.v += t.dv) {
            uint32_t s = TexelAt<Clamp>(texture, t.u, t.v);
            if (s == 0) {
                open = nullptr;
                continue;
            }
            if (!open) {
                stamp.runs.push_back({static_cast<int32_t>(py), static_cast<int32_t>(px), 0, static_cast<uint32_t>(at)});
                open = &stamp.runs.back();
            }
            out[at++] = s;
            ++open->count;
        }
        stamp.colours.resize(at);  // only the drawn texels stay
    }
};

struct RasterContext {
    std::vector<Stamp> stamps = std::vector<Stamp>(kStampSlots);
};

RasterContext ctx;

// The least and the greatest of the corners' coordinates on one axis.
std::pair<int64_t, int64_t> Span(const std::array<int64_t, 4>& corners) {
    const auto [low, high] = std::minmax_element(corners.begin(), corners.end());
    return {*low, *high};
}

bool SameShape(const QuadShape& a, const QuadShape& b) {
    return a.x == b.x && a.y == b.y;
}

// The slot a shape of a picture is kept in.
Stamp& StampSlot(const QuadShape& shape, const Picture* texture) {
    uint64_t h = reinterpret_cast<uintptr_t>(texture) * 0x9E3779B97F4A7C15ull;
    for (size_t i = 0; i < shape.x.size(); ++i) {
        h = (h ^ static_cast<uint64_t>(shape.x[i])) * 0x100000001B3ull;
        h = (h ^ static_cast<uint64_t>(shape.y[i])) * 0x100000001B3ull;
    }
    return ctx.stamps[(h >> 32) % kStampSlots];
}

void Build(Stamp& stamp) {
    stamp.runs.clear();
    stamp.colours.clear();
    StampSink sink{stamp, *stamp.texture};
    RasterQuad(stamp.shape, *stamp.texture, Rect{-kNoLimit, -kNoLimit, kNoLimit, kNoLimit}, sink);
    stamp.built = true;
}

template <class Blend>
void ApplyStamp(const Stamp& stamp, int64_t x, int64_t y, Picture& target, const Blend& blend) {
    for (const Run& run : stamp.runs) {
        int64_t ty = y + run.dy;
        if (ty < 0 || ty >= target.height) continue;
        int64_t tx = x + run.dx, begin = 0, end = run.count;
        if (tx < 0) begin = -tx;
        if (tx + end > target.width) end = target.width - tx;
        if (begin >= end) continue;
        uint32_t* to = target.Row(static_cast<int32_t>(ty));
        const uint32_t* from = stamp.colours.data() + run.first;
        for (int64_t i = begin; i < end; ++i) to[tx + i] = blend(from[i], to[tx + i]);
    }
}

// A small shape is drawn straight the first time it is seen and kept as a stamp from the
// second time on; both ways give the same pixels. Large shapes are always drawn straight.
template <class Blend>
void Draw(const QuadShape& shape, int64_t x, int64_t y, const std::shared_ptr<const Picture>& texture,
          Picture& target, const Blend& blend) {
    const auto [left, right] = Span(shape.x);
    const auto [top, bottom] = Span(shape.y);
    if (right - left <= kStampMaxSide * kSub && bottom - top <= kStampMaxSide * kSub) {
        Stamp& stamp = StampSlot(shape, texture.get());
        if (stamp.seen && stamp.texture == texture && SameShape(stamp.shape, shape)) {
            if (!stamp.built) Build(stamp);
            ApplyStamp(stamp, x, y, target, blend);
            return;
        }
        stamp.seen = true;
        stamp.built = false;
        stamp.texture = texture;
        stamp.shape = shape;
    }
    Rect clip{-x, -y, target.width - 1 - x, target.height - 1 - y};  // the target, in offsets
    BlendSink<Blend> sink{target, *texture, x, y, blend};
    RasterQuad(shape, *texture, clip, sink);
}

}  // namespace

void DrawTexturedQuad(const QuadShape& shape, int32_t x, int32_t y, const std::shared_ptr<const Picture>& texture,
                      ChannelFactor source, ChannelFactor destination, Picture& target) {
    if (!texture || texture->width <= 0 || texture->height <= 0) return;
    // Nothing to do when the shape lies wholly outside the target.
    const auto [xLow, xHigh] = Span(shape.x);
    const auto [yLow, yHigh] = Span(shape.y);
    const int64_t left = (xLow >> kQuadSubBits) + x, right = (xHigh >> kQuadSubBits) + x;
    const int64_t top = (yLow >> kQuadSubBits) + y, bottom = (yHigh >> kQuadSubBits) + y;
    if (right < 0 || bottom < 0 || left >= target.width || top >= target.height) return;

    using K = ChannelFactorKind;
    bool constant = source.kind == K::Constant && destination.kind == K::Constant;
    int32_t fs = source.constant, fd = destination.constant;
    if (!constant)
        Draw(shape, x, y, texture, target, BlendGeneral{source, destination});
    else if (fs == 0 && fd == 255)
        return;  // leaves the target as it is
    else if (fs == 0 && fd == 0)
        Draw(shape, x, y, texture, target, BlendBlack{});
    else if (fs == 255 && fd == 255)
        Draw(shape, x, y, texture, target, BlendAdd{});
    else if (fs == 255 && fd == 0)
        Draw(shape, x, y, texture, target, BlendCopy{});
    else
        Draw(shape, x, y, texture, target, BlendConstant{fs, fd});
}

void QuadStampsClear() { ctx = RasterContext{}; }
