#include "game/enemies.h"

#include "game/motion.h"
#include "game/state.h"
#include "game/slots.h"
#include "game/steering.h"
#include "game/tables.h"
#include "media/input.h"
#include "media/sprite.h"
#include "runtime/random.h"

namespace {

// Slot 1 holds the ball sheet, clipped to one 16 x 16 cell: every overlap check of
// enemies and the player uses that box.

bool BoxesOverlap(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    return SpritesCollide(kSpriteBalls, ax, ay, kSpriteBalls, bx, by) != 0;
}

// Where the enemy would be after its move, and where it is, in pixels.
struct MoveCheck {
    int32_t nx, ny, px, py;
    bool canMoveX = true;
    bool canMoveY = true;
};

// One contact per enemy and frame, however many axes the player blocks.
void CheckPlayerContact(MoveCheck& m) {
    if (game.playerDamage >= 100) return;
    int32_t qx = game.playerPos.x / 10;
    int32_t qy = game.playerPos.y / 10;
    if (BoxesOverlap(m.nx, m.py, qx, qy)) m.canMoveX = false;
    if (BoxesOverlap(m.px, m.ny, qx, qy)) m.canMoveY = false;
    if (m.canMoveX && m.canMoveY) return;
    DamageFlash* flash = ListAdd(game.damageFlashList);
    flash->direction = directionTable(m.nx - qx, m.ny - qy);
    flash->life = kFlashLife;
    game.playerDamage += 1;
    game.soundRequests[kSoundFlash] = 1;
}

// The others as they stand now: earlier ones have moved this frame, later ones not.
// The scan moves the list's cursor, so it is put back on this enemy afterwards.
void CheckOtherEnemies(Enemy* self, MoveCheck& m) {
    ListReset(game.enemyList);
    while (Enemy* o = ListNext(game.enemyList)) {
        if (o == self || o->kind == Inactive) continue;
        int32_t ox = o->x / 10;
        int32_t oy = o->y / 10;
        if (BoxesOverlap(m.nx, m.py, ox, oy)) m.canMoveX = false;
        if (BoxesOverlap(m.px, m.ny, ox, oy)) m.canMoveY = false;
    }
    ListSetCurrent(game.enemyList, self);
}

// A blocked axis bounces back at twice the speed; the next speed limit tames it.
void MoveAxis(int32_t& pos, int32_t& vel, bool canMove) {
    if (canMove)
        pos += vel;
    else
        vel = -2 * vel;
}

void UpdateEnemy(Enemy* e) {
    SteerEnemy();
    LimitSpeed(e->vx, e->vy, kEnemySpeedLimit);
    BounceAxis(e->x, e->vx, kEnemyMaxX);
    BounceAxis(e->y, e->vy, kEnemyMaxY);
    e->vx = ApplyFriction(e->vx);
    e->vy = ApplyFriction(e->vy);
    MoveCheck m{(e->x + e->vx) / 10, (e->y + e->vy) / 10, e->x / 10, e->y / 10};
    CheckPlayerContact(m);
    CheckOtherEnemies(e, m);
    MoveAxis(e->x, e->vx, m.canMoveX);
    MoveAxis(e->y, e->vy, m.canMoveY);
    // Kind k is the cell in column k mod 5, row k div 5 of the sheet.
    SpriteClip(kSpriteBalls, (e->kind % 5) * 16, (e->kind / 5) * 16, 16, 16);
    SpriteDrawKeyed(kSpriteBalls, e->x / 10, e->y / 10);
}

}  // namespace

void SpawnEnemy() {
    Enemy* e = ListCurrent(game.enemyList);
    if (!e) return;
    int32_t side = RandomInt(3);
    switch (side) {
        case 0: e->x = RandomInt(kEnemyMaxX); e->y = 0; break;
        case 1: e->x = RandomInt(kEnemyMaxX); e->y = kEnemyMaxY; break;
        case 2: e->x = 0; e->y = RandomInt(kEnemyMaxY); break;
        default: e->x = kEnemyMaxX; e->y = RandomInt(kEnemyMaxY); break;
    }
    e->kind = RandomInt(2) + 1;
    e->vx = 0;
    e->vy = 0;
}

void UpdateEnemies() {
    ListReset(game.enemyList);
    while (Enemy* e = ListNext(game.enemyList)) {
        if (e->kind == Inactive) continue;
        UpdateEnemy(e);
    }
}

void CheckRestart() {
    if (!KeyDown(kKeySpace)) return;
    game.playerDamage = 0;
    game.killCount = 0;
    game.shotsFired = 0;
    // The respawn pass of this frame places every enemy anew.
    ListReset(game.enemyList);
    while (Enemy* e = ListNext(game.enemyList)) e->kind = Inactive;
}
