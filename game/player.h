// Player control: thrust, speed limit, borders, friction, move, turn, firing.
#pragma once

#include <cstdint>

// The player's corner stays within 0..kPlayerMaxX and 0..kPlayerMaxY (tenths): the
// 8000 x 6000 field less the ball's 160 tenths.
inline constexpr int32_t kPlayerMaxX = 7840;
inline constexpr int32_t kPlayerMaxY = 5840;
inline constexpr int32_t kPlayerSpeedLimit = 30;
// Frames between two shots while a fire button is held: a shot every sixth frame.
inline constexpr int32_t kFireCooldownFrames = 5;

// The cannon turns toward its heading offset, this long, plus the frame's mouse
// movement, clamped to +-kAimLimitX x +-kAimLimitY so the aim point stays inside the
// direction table.
inline constexpr int32_t kHeadingLength = 50;
inline constexpr int32_t kAimLimitX = 1000;
inline constexpr int32_t kAimLimitY = 800;

// Key scan codes the player reads.
inline constexpr int32_t kKeyW = 17;
inline constexpr int32_t kKeyA = 30;
inline constexpr int32_t kKeyS = 31;
inline constexpr int32_t kKeyD = 32;

// Phase 5 while playerDamage < 100.
void UpdatePlayer();

// The player's float trigonometry, shared so that every caller rounds the same way:
// cos and sin taken in double of a float angle and rounded to float; nearest rounds
// half to even.
float PlayerCos(float radians);
float PlayerSin(float radians);
int32_t Nearest(float value);
