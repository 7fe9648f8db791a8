// Enemy steering: the rule of the current enemy's kind changes its velocity.
#pragma once

#include <cstdint>

#include "game/state.h"

// Velocity change per frame and axis, and how far past the step a seeker looks.
inline constexpr int32_t kSteerStep = 3;
inline constexpr int32_t kLookAheadMargin = 9;

// Distance lookup between two points in tenths of a pixel.
int32_t dist(Vec2 a, Vec2 p);
// Lower is better: near the player and its rear point, away from its front point.
int32_t approachScore(Vec2 p);
// Applies the current enemy's rule (Inactive enemies are never passed here).
void SteerEnemy();
