// Sprites. Provides the numbered sprite slots: loading from bitmap files (converted once
// to the screen format), opaque and keyed copies into the current target with integer
// clipping, clip rectangles for sheets of cells, grabs of the screen and box overlap.
// Limits: slots 0 .. 65535; pictures are never lost, so nothing is ever reloaded; flags 2
// (raw memory) pictures are kept but never drawn.
// Depends on draw_target.h (the current target) and bmp_reader.h / byte_reader.h.
#include "media/sprite.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/bmp_reader.h"
#include "media/data_files.h"
#include "media/draw_target.h"

namespace {

constexpr int32_t kInitialSlots = 50;
constexpr int32_t kMaxSpriteSlot = 1 << 16;

struct SpriteSlot {
    std::shared_ptr<Picture> picture;  // null: empty
    int32_t width = 0, height = 0;     // displayed size (the clip)
    int32_t clipX = 0, clipY = 0;
    int32_t fullWidth = 0, fullHeight = 0;
    int32_t loadFlags = 0;
    std::string file;  // empty for a grabbed picture
};

struct SpriteContext {
    std::vector<SpriteSlot> slots = std::vector<SpriteSlot>(kInitialSlots);
};

SpriteContext ctx;

SpriteSlot* Filled(int32_t slot) {
    if (slot < 0 || slot >= static_cast<int32_t>(ctx.slots.size())) return nullptr;
    SpriteSlot& s = ctx.slots[slot];
    return s.picture ? &s : nullptr;
}

// The slot to load or grab into, growing the table as needed; null when out of range.
SpriteSlot* Writable(int32_t slot) {
    if (slot < 0 || slot >= kMaxSpriteSlot) return nullptr;
    if (slot >= static_cast<int32_t>(ctx.slots.size())) ctx.slots.resize(static_cast<size_t>(slot) + 10);
    return &ctx.slots[slot];
}

void Fill(SpriteSlot& s, std::shared_ptr<Picture> picture, int32_t flags, std::string file) {
    s.fullWidth = s.width = picture->width;
    s.fullHeight = s.height = picture->height;
    s.clipX = s.clipY = 0;
    s.loadFlags = flags;
    s.file = std::move(file);
    s.picture = std::move(picture);
}

// Clips the slot's displayed rectangle placed at (x, y) to the target and copies it, row
// by row; keyed copies leave the target alone where the picture is black.
template <bool Keyed>
void Draw(int32_t slot, int32_t x, int32_t y) {
    SpriteSlot* s = Filled(slot);
    Picture* target = CurrentTarget();
    if (!s || !target || s->loadFlags == kSpriteFlagRaw) return;
    int32_t w = s->width, h = s->height;
    if (x >= target->width || y >= target->height || x <= -w || y <= -h) return;
    if (x + w > target->width) w = target->width - x;
    if (y + h > target->height) h = target->height - y;
    int32_t sx = 0, sy = 0;
    if (x < 0) { sx = -x; x = 0; }
    if (y < 0) { sy = -y; y = 0; }
    int32_t columns = w - sx, rows = h - sy;
    if (columns <= 0 || rows <= 0) return;
    const Picture& src = *s->picture;
    for (int32_t r = 0; r < rows; ++r) {
        const uint32_t* from = src.Row(s->clipY + sy + r) + s->clipX + sx;
        uint32_t* to = target->Row(y + r) + x;
        if constexpr (Keyed) {
            for (int32_t c = 0; c < columns; ++c)
                if (from[c] != 0) to[c] = from[c];
        } else {
            std::memcpy(to, from, static_cast<size_t>(columns) * sizeof(uint32_t));
        }
    }
}

}  // namespace

int32_t SpriteLoad(int32_t slot, const char* file, int32_t flags) {
    if (!file || slot < 0 || slot >= kMaxSpriteSlot) return 0;
    auto bytes = ReadDataFile(file);
    if (!bytes) return 0;  // a missing file leaves the slot as it was
    SpriteSlot* s = Writable(slot);
    *s = SpriteSlot{};
    BitmapResult bitmap = ReadBitmap(*bytes);
    if (!bitmap.ok) return 0;
    Fill(*s, std::make_shared<Picture>(std::move(bitmap.picture)), flags, file);
    return 1;
}

void SpriteDraw(int32_t slot, int32_t x, int32_t y) { Draw<false>(slot, x, y); }

void SpriteDrawKeyed(int32_t slot, int32_t x, int32_t y) { Draw<true>(slot, x, y); }

// The selection is clamped to the picture, so no draw can ever read outside it; a
// selection wholly outside leaves nothing to draw.
void SpriteClip(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height) {
    SpriteSlot* s = Filled(slot);
    if (!s) return;
    if (x == -1) {
        s->clipX = s->clipY = 0;
        s->width = s->fullWidth;
        s->height = s->fullHeight;
        return;
    }
    int64_t left = std::clamp<int64_t>(x, 0, s->fullWidth);
    int64_t top = std::clamp<int64_t>(y, 0, s->fullHeight);
    int64_t right = std::clamp<int64_t>(int64_t{x} + width, left, s->fullWidth);
    int64_t bottom = std::clamp<int64_t>(int64_t{y} + height, top, s->fullHeight);
    s->clipX = static_cast<int32_t>(left);
    s->clipY = static_cast<int32_t>(top);
    s->width = static_cast<int32_t>(right - left);
    s->height = static_cast<int32_t>(bottom - top);
}

// Only the part of the rectangle inside the target is copied; the rest of the new
// picture stays black, which every draw treats as transparent when keyed.
int32_t SpriteGrab(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height) {
    SpriteSlot* s = Writable(slot);
    if (!s) return 0;
    std::shared_ptr<Picture> picture = std::move(s->picture);
    *s = SpriteSlot{};
    Picture* target = CurrentTarget();
    if (!target || width <= 0 || height <= 0 || width > kBitmapMaxSide || height > kBitmapMaxSide) return 0;
    // Reuse the old picture when nobody else holds it: the game grabs the whole screen.
    if (!picture || picture.use_count() != 1 || picture->width != width || picture->height != height) {
        picture = std::make_shared<Picture>();
        picture->width = width;
        picture->height = height;
    }
    int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(int64_t{x} + width, target->width);
    int64_t bottom = std::min<int64_t>(int64_t{y} + height, target->height);
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    bool inside = left == x && top == y && right - left == width && bottom - top == height;
    if (inside)
        picture->pixels.resize(count);  // every pixel is copied below
    else
        picture->pixels.assign(count, 0u);
    for (int64_t ty = top; ty < bottom && left < right; ++ty) {
        const uint32_t* from = target->Row(static_cast<int32_t>(ty)) + left;
        uint32_t* to = picture->Row(static_cast<int32_t>(ty - y)) + (left - x);
        std::memcpy(to, from, static_cast<size_t>(right - left) * sizeof(uint32_t));
    }
    Fill(*s, std::move(picture), 0, std::string());
    return 1;
}

int32_t SpritesCollide(int32_t slot1, int32_t x1, int32_t y1, int32_t slot2, int32_t x2, int32_t y2) {
    const SpriteSlot* a = Filled(slot1);
    const SpriteSlot* b = Filled(slot2);
    if (!a || !b) return 0;
    int64_t ax = x1, ay = y1, bx = x2, by = y2;  // sums in 64 bits: no overflow at the extremes
    bool overlap = bx < ax + a->width && bx + b->width > ax && by + b->height > ay && by < ay + a->height;
    return overlap ? 1 : 0;
}

SpriteInfo SpriteGetInfo(int32_t slot) {
    SpriteInfo info;
    const SpriteSlot* s = Filled(slot);
    if (!s) return info;
    info.picture = s->picture.get();
    info.width = s->width;
    info.height = s->height;
    info.clipX = s->clipX;
    info.clipY = s->clipY;
    info.fullWidth = s->fullWidth;
    info.fullHeight = s->fullHeight;
    info.loadFlags = s->loadFlags;
    return info;
}

void SpritesFreeAll() { ctx = SpriteContext{}; }

std::shared_ptr<const Picture> SpriteTexture(int32_t slot) {
    const SpriteSlot* s = Filled(slot);
    if (!s || s->loadFlags != kSpriteFlagTexture) return nullptr;
    return s->picture;
}
