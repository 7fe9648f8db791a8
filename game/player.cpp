#include "game/player.h"

#include <cmath>

#include "game/motion.h"
#include "game/slots.h"
#include "game/state.h"
#include "game/tables.h"
#include "game/trig.h"
#include "media/input.h"

// The trigonometry below is written one float operation at a time, left to right, so
// that every machine rounds it identically: a double intermediate or a fused
// multiply-add would move some results across a half and change the game.

float PlayerCos(float radians) {
    return static_cast<float>(TrigCos(static_cast<double>(radians)));
}

float PlayerSin(float radians) {
    return static_cast<float>(TrigSin(static_cast<double>(radians)));
}

int32_t Nearest(float value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

namespace {

// Half of the game's angle constant: a quarter turn across the heading to a barrel.
constexpr float kQuarterTurn = 1.57075f;

void ApplyThrust() {
    float h = TenthsToRad(game.playerAngle);
    game.headingRad = h;
    Vec2& v = game.playerVel;
    if (MouseStateWheel() > 0) {
        v.x = Nearest(static_cast<float>(v.x) + 10.0f * PlayerCos(h));
        v.y = Nearest(static_cast<float>(v.y) + 10.0f * PlayerSin(h));
    } else if (MouseStateWheel() < 0 || MouseStateButton(2) != 0) {
        v.x = Nearest(static_cast<float>(v.x) - 10.0f * PlayerCos(h));
        v.y = Nearest(static_cast<float>(v.y) - 10.0f * PlayerSin(h));
    } else {
        // Each key on its own, so opposite keys cancel.
        if (KeyDown(kKeyA)) v.x -= 10;
        if (KeyDown(kKeyD)) v.x += 10;
        if (KeyDown(kKeyW)) v.y -= 10;
        if (KeyDown(kKeyS)) v.y += 10;
    }
}

void Move() {
    BounceAxis(game.playerPos.x, game.playerVel.x, kPlayerMaxX);
    BounceAxis(game.playerPos.y, game.playerVel.y, kPlayerMaxY);
    game.playerVel.x = ApplyFriction(game.playerVel.x);
    game.playerVel.y = ApplyFriction(game.playerVel.y);
    game.playerPos.x += game.playerVel.x;
    game.playerPos.y += game.playerVel.y;
}

int32_t Clamp(int32_t v, int32_t limit) {
    if (v > limit) return limit;
    if (v < -limit) return -limit;
    return v;
}

// The cannon turns toward the sum of its heading offset and this frame's mouse movement;
// the clamp keeps the aim point inside the direction table.
void Turn() {
    float h = TenthsToRad(game.playerAngle);
    game.headingRad = h;
    game.aimOffset.x = Nearest(static_cast<float>(kHeadingLength) * PlayerCos(h));
    game.aimOffset.y = Nearest(static_cast<float>(kHeadingLength) * PlayerSin(h));
    game.aimPoint.x = Clamp(game.aimOffset.x + MouseStateX(), kAimLimitX);
    game.aimPoint.y = Clamp(game.aimOffset.y + MouseStateY(), kAimLimitY);
    game.playerAngle = directionTable(game.aimPoint.x, game.aimPoint.y);
    // Steering reads these; they use the heading from before this frame's turn.
    game.playerFront.x = game.playerPos.x + 10 * game.aimOffset.x;
    game.playerFront.y = game.playerPos.y + 10 * game.aimOffset.y;
    game.playerRear.x = game.playerPos.x - 10 * game.aimOffset.x;
    game.playerRear.y = game.playerPos.y - 10 * game.aimOffset.y;
}

void FireShot() {
    game.shotsFired += 1;
    float h = TenthsToRad(game.playerAngle);
    game.headingRad = h;
    Shot* shot = ListAdd(game.shotList);
    // The muzzle lies 4 pixels across the heading from the ball's centre.
    float s = game.gunSide == 1 ? h + kQuarterTurn : h - kQuarterTurn;
    shot->x = Nearest(static_cast<float>(game.playerPos.x) + 40.0f * PlayerCos(s) + 80.0f);
    shot->y = Nearest(static_cast<float>(game.playerPos.y) + 40.0f * PlayerSin(s) + 80.0f);
    float c = PlayerCos(h);
    float sn = PlayerSin(h);
    shot->vx = Nearest(c * 30.0f * 2.0f);
    shot->vy = Nearest(sn * 30.0f * 2.0f);
    // Recoil after this frame's move.
    game.playerVel.x = Nearest(static_cast<float>(game.playerVel.x) - c * 10.0f / 2.0f);
    game.playerVel.y = Nearest(static_cast<float>(game.playerVel.y) - sn * 10.0f / 2.0f);
    game.soundRequests[kSoundShotLeft + game.gunSide] = 1;  // the left barrel, then the right
    game.gunSide ^= 1;
    game.fireCooldown = kFireCooldownFrames;
}

void Fire() {
    if (game.fireCooldown != 0) {
        game.fireCooldown -= 1;
        return;
    }
    if (MouseStateButton(1) != 0 || MouseStateButton(3) != 0) FireShot();
}

}  // namespace

void UpdatePlayer() {
    ApplyThrust();
    LimitSpeed(game.playerVel.x, game.playerVel.y, kPlayerSpeedLimit);
    Move();
    Turn();
    Fire();
}
