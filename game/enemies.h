// Enemies: spawning at the edges, the per-frame enemy pass, and the restart check.
#pragma once

#include <cstdint>

#include "game/slots.h"

// An enemy's corner stays within 0..kEnemyMaxX and 0..kEnemyMaxY (tenths) after the
// border step: the 16-pixel ball inside the 800 x 600 field.
inline constexpr int32_t kEnemyMaxX = 7840;
inline constexpr int32_t kEnemyMaxY = 5840;
inline constexpr int32_t kEnemySpeedLimit = 28;
inline constexpr int32_t kFlashLife = 35;
inline constexpr int32_t kKeySpace = 57;

// Places the current element of enemyList at a random edge with a new kind.
void SpawnEnemy();
// Phase 6: steering, limits, borders, friction, blocking, contact, move, draw.
void UpdateEnemies();
// Phase 5 while the player is down: Space restarts the play.
void CheckRestart();
