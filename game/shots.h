// Shots and hits: respawn of destroyed enemies, the shot pass with its hits and
// removal, and the player's death.
#pragma once

#include <cstdint>

#include "game/slots.h"

// The shots' field, both ends inside (tenths).
inline constexpr int32_t kShotMaxX = 7960;
inline constexpr int32_t kShotMaxY = 5960;
// Smoke clouds of a destroyed enemy and their life.
inline constexpr int32_t kKillSmokeClouds = 4;
inline constexpr int32_t kKillSmokeLife = 32;
// Smoke clouds (each with its stain) of the player's death.
inline constexpr int32_t kDeathClouds = 11;
// playerDamage once the death's effects have been set off.
inline constexpr int32_t kDamageDown = 1000;

void RespawnEnemies();    // phase 7
void UpdateShots();       // phase 8
void CheckPlayerDeath();  // phase 9
