#include "game/effects.h"

#include "game/state.h"
#include "game/slots.h"
#include "media/rotated.h"
#include "media/sprite.h"
#include "runtime/random.h"

namespace {

constexpr int32_t kStainAlpha = 200;

// Removal pass: a record right after a deleted first one is passed over and waits for
// the next pass, as with every list of the game.
template <typename T>
void RemoveFinished(ObjectList<T>& list) {
    ListReset(list);
    while (T* r = ListNext(list)) {
        if (r->life == 0) ListDeleteCurrent(list);
    }
}

void EmitPuffs() {
    ListReset(game.smokeList);
    while (Smoke* c = ListNext(game.smokeList)) {
        if (c->life == 0) continue;
        c->life -= 1;
        c->x += c->vx;
        c->y += c->vy;
        // Drifts against the cloud at 80..100 % of its speed, lives 80..100 % of its life.
        Puff* p = ListAdd(game.puffList);
        p->x = c->x + RandomInt(40) + 20;
        p->y = c->y + RandomInt(40) + 20;
        p->vx = -(c->vx * (RandomInt(2) + 8)) / 10;
        p->vy = -(c->vy * (RandomInt(2) + 8)) / 10;
        p->life = (c->life * (RandomInt(2) + 8)) / 10;
    }
}

// A puff is a square of life x life pixels that shrinks by a pixel and turns by ten
// degrees a frame.
void DrawPuffs() {
    ListReset(game.puffList);
    while (Puff* p = ListNext(game.puffList)) {
        if (p->life == 0) continue;
        p->life -= 1;
        p->x += p->vx;
        p->y += p->vy;
        RotatedSpriteZoom(kSpriteSmoke, p->life, p->life);
        RotatedSpriteRotate(kSpriteSmoke, p->life * 10, 0);
        RotatedSpriteDrawOpaque(kSpriteSmoke, p->x / 10 - p->life + 16, p->y / 10 - p->life + 16);
    }
}

void DrawFlashes() {
    ListReset(game.damageFlashList);
    while (DamageFlash* f = ListNext(game.damageFlashList)) {
        if (f->life == 0) continue;
        f->life -= 1;
        int32_t slot = FlashSlot(f->life);
        RotatedSpriteRotate(slot, f->direction / 10 - 90, 0);
        RotatedSpriteDraw(slot, game.playerPos.x / 10 - 8, game.playerPos.y / 10 - 8,
                          FlashAlpha(f->life));
    }
    RemoveFinished(game.damageFlashList);
}

}  // namespace

int32_t FlashSlot(int32_t life) {
    return life / 5 + kSpriteShieldFaintest;
}

int32_t FlashAlpha(int32_t life) {
    return life * 4;
}

// Stamps every pending stain into the background once; the stamped screen becomes
// the background, so stains cost nothing afterwards. Runs as soon as one is pending.
void StampStains() {
    if (ListCount(game.stainList) == 0) return;
    RotatedBegin();
    // Inverse destination alpha with saturated source alpha: black in the stain's shape.
    RotatedBlendMode(kBlendInvDestAlpha, kBlendSrcAlphaSat);
    ListReset(game.stainList);
    while (Stain* s = ListNext(game.stainList)) {
        RotatedSpriteRotate(kSpriteStain, RandomInt(360), 0);
        RotatedSpriteDraw(kSpriteStain, s->x, s->y, kStainAlpha);
    }
    RotatedEnd();
    ListClear(game.stainList);
    // Only the background has been drawn so far in this frame.
    SpriteGrab(kSpriteBackground, 0, 0, 800, 600);
}

void UpdateSmoke() {
    RotatedBegin();
    RotatedBlendMode(kBlendOne, kBlendDestAlpha);  // puffs add their colour
    EmitPuffs();
    RemoveFinished(game.smokeList);
    DrawPuffs();
    RemoveFinished(game.puffList);
    RotatedEnd();
}

void DrawPlayer() {
    if (game.playerDamage >= 100) return;
    SpriteClip(kSpriteBalls, 0, 0, 16, 16);
    SpriteDrawKeyed(kSpriteBalls, game.playerPos.x / 10, game.playerPos.y / 10);
    SpriteClip(kSpriteBalls, 64, 64, 16, 16);  // the aim marker
    SpriteDrawKeyed(kSpriteBalls, game.playerFront.x / 10, game.playerFront.y / 10);
    RotatedBegin();  // default factors: ordinary translucency
    RotatedSpriteRotate(kSpriteCannon, game.playerAngle / 10 - 90, 0);
    RotatedSpriteDrawOpaque(kSpriteCannon, game.playerPos.x / 10 - 8, game.playerPos.y / 10 - 8);
    DrawFlashes();
    RotatedEnd();
}
