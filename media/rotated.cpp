// Rotated translucent sprites. Provides the rotated-sprite slots, their corner arithmetic
// (turn and zoom), and batches with blend factors; each draw goes at once through our
// rasterizer into the back buffer, so it lands in order with the sprite copies.
// Limits: nearest-pixel sampling only; no back-face culling (a mirrored shape is drawn).
// Depends on sprite.h (the shared pictures, loaded with flags 4), draw_target.h (the
// target), screen.h (the display) and quad_raster.h.
#include "media/rotated.h"

#include <cmath>
#include <memory>
#include <vector>

#include "media/draw_target.h"
#include "media/quad_raster.h"
#include "media/screen.h"
#include "media/sprite.h"

namespace {

constexpr int32_t kInitialSlots = 50;
constexpr int32_t kMaxRotatedSlot = 1 << 16;

struct Corner {
    float x = 0, y = 0;
};

struct RotatedSlot {
    std::shared_ptr<const Picture> texture;  // null: empty
    Corner corners[4];                       // carrying the picture's TL, TR, BL, BR texels
    QuadShape shape;                         // the corners as the rasterizer takes them
    int16_t width = 0, height = 0;
    int16_t angle = 0;
};

// The cosines and sines of the four corner steps of one angle. Smoke turns every puff in
// every frame through a few dozen angles, so the last few hundred are kept.
struct Turn {
    bool valid = false;
    int32_t angle = 0;
    double cosine[4] = {}, sine[4] = {};
};
constexpr size_t kTurnCacheSize = 256;

struct RotatedContext {
    std::vector<Turn> turns = std::vector<Turn>(kTurnCacheSize);
    bool initialised = false;
    std::vector<RotatedSlot> slots;
    bool inBatch = false;
    int32_t source = kBlendSrcAlpha;
    int32_t destination = kBlendInvSrcAlpha;
};

RotatedContext ctx;

RotatedSlot* Filled(int32_t slot) {
    if (slot < 0 || slot >= static_cast<int32_t>(ctx.slots.size())) return nullptr;
    RotatedSlot& s = ctx.slots[slot];
    return s.texture ? &s : nullptr;
}

// The angle in radians is angle x 0.0175 held as a float; each further corner adds 1.575,
// the sum again held as a float; cosine and sine are taken in double precision.
const Turn& TurnFor(int32_t angle) {
    Turn& turn = ctx.turns[static_cast<uint32_t>(angle) % kTurnCacheSize];
    if (turn.valid && turn.angle == angle) return turn;
    float t = static_cast<float>(angle * 0.0175);
    for (int k = 0; k < 4; ++k) {
        if (k > 0) t = static_cast<float>(t + 1.575);
        turn.cosine[k] = std::cos(static_cast<double>(t));
        turn.sine[k] = std::sin(static_cast<double>(t));
    }
    turn.valid = true;
    turn.angle = angle;
    return turn;
}

// Snaps the corners for the rasterizer once, when they change, not in every draw.
void UpdateShape(RotatedSlot& s) {
    for (int i = 0; i < 4; ++i) {
        s.shape.x[i] = std::llround(static_cast<double>(s.corners[i].x) * (1 << kQuadSubBits));
        s.shape.y[i] = std::llround(static_cast<double>(s.corners[i].y) * (1 << kQuadSubBits));
    }
}

void SetUnturnedCorners(RotatedSlot& s, float w, float h) {
    s.corners[0] = {0, 0};
    s.corners[1] = {w, 0};
    s.corners[2] = {0, h};
    s.corners[3] = {w, h};
    UpdateShape(s);
}

// ---- blend factors ----

bool KnownFactor(int32_t number) { return number >= kBlendZero && number <= kBlendBothInvSrcAlpha; }

// A factor number as a channel factor; the screen has no alpha channel, so the
// destination alpha is 1 throughout.
ChannelFactor Resolve(int32_t number, int32_t alpha) {
    using K = ChannelFactorKind;
    switch (number) {
        case kBlendZero: return {K::Constant, 0};
        case kBlendOne: return {K::Constant, 255};
        case kBlendSrcColor: return {K::SrcColor, 0};
        case kBlendInvSrcColor: return {K::InvSrcColor, 0};
        case kBlendSrcAlpha: return {K::Constant, alpha};
        case kBlendInvSrcAlpha: return {K::Constant, 255 - alpha};
        case kBlendDestAlpha: return {K::Constant, 255};
        case kBlendInvDestAlpha: return {K::Constant, 0};
        case kBlendDestColor: return {K::DestColor, 0};
        case kBlendInvDestColor: return {K::InvDestColor, 0};
        case kBlendSrcAlphaSat: return {K::Constant, 0};  // min(alpha, 1 - destination alpha)
        default: return {K::Constant, 0};
    }
}

}  // namespace

int32_t RotatedSpritesInit() {
    if (!DisplayIsInitialised()) return 0;
    ctx = RotatedContext{};
    ctx.slots.resize(kInitialSlots);
    ctx.initialised = true;
    return 1;
}

int32_t RotatedSpriteCreate(int32_t slot, int32_t spriteSlot) {
    if (!ctx.initialised || slot < 0 || slot >= kMaxRotatedSlot) return 0;
    if (slot >= static_cast<int32_t>(ctx.slots.size())) ctx.slots.resize(static_cast<size_t>(slot) + 50);
    RotatedSlot& s = ctx.slots[slot];
    s = RotatedSlot{};
    std::shared_ptr<const Picture> texture = SpriteTexture(spriteSlot);
    if (!texture) return 0;
    SpriteInfo info = SpriteGetInfo(spriteSlot);
    s.texture = std::move(texture);
    s.width = static_cast<int16_t>(info.width);
    s.height = static_cast<int16_t>(info.height);
    SetUnturnedCorners(s, static_cast<float>(info.width), static_cast<float>(info.height));
    return 1;
}

int32_t RotatedBegin() {
    ctx.inBatch = false;
    if (!ctx.initialised || !CurrentTarget()) return 0;
    ctx.source = kBlendSrcAlpha;
    ctx.destination = kBlendInvSrcAlpha;
    ctx.inBatch = true;
    return 1;
}

// A number outside the enumeration leaves that factor as it was.
void RotatedBlendMode(int32_t source, int32_t destination) {
    if (!ctx.initialised) return;
    if (KnownFactor(source)) ctx.source = source;
    if (KnownFactor(destination) && destination < kBlendBothSrcAlpha) ctx.destination = destination;
}

void RotatedSpriteRotate(int32_t slot, int32_t angle, int32_t mode) {
    RotatedSlot* s = Filled(slot);
    if (!s) return;
    int32_t hw = s->width / 2, hh = s->height / 2;
    if (mode != 0) {
        // 32-bit wrap-around as the stored angle is added; the sum is kept in 16 bits.
        angle = static_cast<int32_t>(static_cast<uint32_t>(angle) + static_cast<uint32_t>(s->angle % 360));
        s->angle = static_cast<int16_t>(angle);
    } else {
        s->angle = 0;  // an absolute turn forgets the accumulated angle
    }
    const Turn& turn = TurnFor(angle);
    static constexpr int kCornerOfStep[4] = {0, 1, 3, 2};  // TL, TR, BR, BL texels
    for (int k = 0; k < 4; ++k) {
        double c = turn.cosine[k], sn = turn.sine[k];
        Corner& corner = s->corners[kCornerOfStep[k]];
        corner.x = static_cast<float>(hw + hw * c + hh * sn);
        corner.y = static_cast<float>(hh + hw * sn - hh * c);
    }
    UpdateShape(*s);
}

void RotatedSpriteZoom(int32_t slot, int32_t width, int32_t height) {
    RotatedSlot* s = Filled(slot);
    if (!s) return;
    s->width = static_cast<int16_t>(width);
    s->height = static_cast<int16_t>(height);
    SetUnturnedCorners(*s, static_cast<float>(s->width), static_cast<float>(s->height));
}

void RotatedSpriteDraw(int32_t slot, int32_t x, int32_t y, int32_t alpha) {
    RotatedSlot* s = Filled(slot);
    Picture* target = CurrentTarget();
    if (!ctx.inBatch || !s || !target) return;
    alpha &= 255;  // only the low 8 bits of alpha count
    ChannelFactor source = Resolve(ctx.source, alpha), destination = Resolve(ctx.destination, alpha);
    if (ctx.source == kBlendBothSrcAlpha || ctx.source == kBlendBothInvSrcAlpha) {
        // These set the destination factor too: source alpha and its inverse, or the reverse.
        int32_t a = ctx.source == kBlendBothSrcAlpha ? alpha : 255 - alpha;
        source = {ChannelFactorKind::Constant, a};
        destination = {ChannelFactorKind::Constant, 255 - a};
    }
    DrawTexturedQuad(s->shape, x, y, s->texture, source, destination, *target);
}

void RotatedSpriteDrawOpaque(int32_t slot, int32_t x, int32_t y) { RotatedSpriteDraw(slot, x, y, 255); }

void RotatedEnd() { ctx.inBatch = false; }

void RotatedSpritesEnd() {
    ctx = RotatedContext{};
    QuadStampsClear();
}
