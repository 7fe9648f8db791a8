// The game's state: the program-wide variables, the six object lists and the sound
// requests, in one record so that tests can build and reset it.
#pragma once

#include <cstdint>

#include "runtime/list.h"

struct Vec2 {
    int32_t x = 0;
    int32_t y = 0;
};

enum EnemyKind : int32_t {
    Inactive = 0,        // destroyed or reset; respawned by the next respawn pass
    Chaser = 1,          // heads straight for the player
    EightWaySeeker = 2,  // best of eight velocity changes by look-ahead
    AxisSeeker = 3,      // best change per axis by look-ahead
};

struct Enemy {
    int32_t x, y;    // top-left of the 16 x 16 picture, tenths of a pixel
    int32_t vx, vy;  // tenths per frame
    int32_t kind;    // EnemyKind
};

struct Shot {
    int32_t x, y;    // top-left of the shot picture, tenths
    int32_t vx, vy;  // tenths per frame, fixed in flight
    int32_t spent;   // 1 once it left the field or hit an enemy
};

struct Stain {
    int32_t x, y;  // top-left of the unturned stain picture, pixels
};

struct Smoke {
    int32_t x, y, vx, vy;  // tenths, tenths per frame
    int32_t life;          // frames left; 0 = finished
};

struct Puff {
    int32_t x, y, vx, vy;  // tenths, tenths per frame
    int32_t life;          // frames left, also its drawn size in pixels
};

struct DamageFlash {
    int32_t unused0, unused1;  // never written or read
    int32_t direction;         // from the player to the touching enemy, tenths of a degree
    int32_t life;              // frames left; 35 at creation
};

inline constexpr int32_t kSoundRequestCount = 11;

struct GameState {
    // Frame loop.
    uint32_t nowMs = 0;          // clock reading at the head of the loop pass
    uint32_t nextFrameTime = 0;  // the clock must pass this before the next frame
    int32_t quitRequested = 0;
    int32_t windowEvent = 0;

    // Player.
    Vec2 playerPos, playerVel;
    int32_t playerAngle = 0;   // heading, tenths of a degree
    int32_t playerDamage = 0;  // below 100 alive; 1000 once the death has been set off
    float headingRad = 0.0f;
    Vec2 aimOffset, aimPoint;
    Vec2 playerFront, playerRear;
    int32_t fireCooldown = 0;
    int32_t gunSide = 0;  // 0 left, 1 right
    int32_t shotsFired = 0;

    // Shots and hits.
    int32_t killCount = 0;
    int32_t explosionSoundIndex = 0;

    // Populations, created in this order at start-up.
    ObjectList<DamageFlash> damageFlashList;
    ObjectList<Enemy> enemyList;
    ObjectList<Shot> shotList;
    ObjectList<Stain> stainList;
    ObjectList<Smoke> smokeList;
    ObjectList<Puff> puffList;

    int32_t soundRequests[kSoundRequestCount] = {};

    // Not part of the play: the slots played by the last sound dispatch, ascending,
    // kept for the replay trace.
    int32_t lastPlayedSounds[kSoundRequestCount] = {};
    int32_t lastPlayedCount = 0;
};

extern GameState game;

// Everything back to zero, lists emptied (program start, tests).
void ResetGameState();
