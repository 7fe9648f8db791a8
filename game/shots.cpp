#include "game/shots.h"

#include "game/enemies.h"
#include "game/state.h"
#include "game/slots.h"
#include "media/sprite.h"
#include "runtime/random.h"

namespace {


void AddStain(int32_t x, int32_t y) {
    Stain* stain = ListAdd(game.stainList);
    stain->x = x;
    stain->y = y;
}

// The kind is not looked at: an enemy already destroyed this frame still stands where
// it was and can be destroyed again by a later shot.
void DestroyEnemy(Enemy& e, Shot& s) {
    e.kind = Inactive;
    s.spent = 1;
    AddStain(e.x / 10, e.y / 10);
    for (int32_t i = 0; i < kKillSmokeClouds; ++i) {
        Smoke* cloud = ListAdd(game.smokeList);
        cloud->x = e.x + 80;  // the ball's centre
        cloud->y = e.y + 80;
        cloud->vx = RandomInt(20) - 10;
        cloud->vy = RandomInt(20) - 10;
        cloud->life = kKillSmokeLife;
    }
    game.explosionSoundIndex = (game.explosionSoundIndex + 1) % 5;
    game.soundRequests[game.explosionSoundIndex + kSoundFirstExplosion] = 1;
    game.killCount += 1;
}

bool OutsideField(const Shot& s) {
    return s.x < 0 || s.y < 0 || s.x > kShotMaxX || s.y > kShotMaxY;
}

void HitEnemies(Shot& s) {
    ListReset(game.enemyList);
    while (Enemy* e = ListNext(game.enemyList)) {
        if (SpritesCollide(kSpriteShot, s.x / 10, s.y / 10, kSpriteBalls, e->x / 10, e->y / 10))
            DestroyEnemy(*e, s);
    }
}

// Deleting the first shot makes the next one current unvisited: that one, even if
// spent, survives until the next frame's pass. The game has always played so.
void RemoveSpentShots() {
    ListReset(game.shotList);
    while (Shot* s = ListNext(game.shotList)) {
        if (s->spent != 0) ListDeleteCurrent(game.shotList);
    }
}

}  // namespace

void RespawnEnemies() {
    ListReset(game.enemyList);
    while (Enemy* e = ListNext(game.enemyList)) {
        if (e->kind == Inactive) SpawnEnemy();
    }
}

void UpdateShots() {
    // Spent shots still in the list fly on like any other.
    ListReset(game.shotList);
    while (Shot* s = ListNext(game.shotList)) {
        s->x += s->vx;
        s->y += s->vy;
        if (OutsideField(*s)) {
            s->spent = 1;
            continue;
        }
        SpriteDrawKeyed(kSpriteShot, s->x / 10, s->y / 10);
        HitEnemies(*s);
    }
    RemoveSpentShots();
}

void CheckPlayerDeath() {
    if (game.playerDamage < 100 || game.playerDamage == kDamageDown) return;
    game.playerDamage = kDamageDown;
    for (int32_t i = 0; i < kDeathClouds; ++i) {
        Smoke* cloud = ListAdd(game.smokeList);
        cloud->x = game.playerPos.x + RandomInt(320) - 160;
        cloud->y = game.playerPos.y + RandomInt(320) - 160;
        cloud->vx = RandomInt(80) - 40;
        cloud->vy = RandomInt(80) - 40;
        cloud->life = RandomInt(20) + 32;
        AddStain(cloud->x / 10, cloud->y / 10);
    }
    game.soundRequests[kSoundBigExplosion] = 1;
}
