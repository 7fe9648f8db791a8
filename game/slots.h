// The numbered slots the game loads at start-up and names everywhere else: one list,
// so that loading and drawing can never disagree about which picture is where.
#pragma once

#include <cstdint>

// Sprite slots; 3 to 12 are also rotated-sprite slots of the same number.
inline constexpr int32_t kSpriteBackground = 0;
inline constexpr int32_t kSpriteBalls = 1;  // 16 x 16 cells, five to a row
inline constexpr int32_t kSpriteShot = 2;
inline constexpr int32_t kSpriteSmoke = 3;
inline constexpr int32_t kSpriteStain = 4;
inline constexpr int32_t kSpriteCannon = 5;
inline constexpr int32_t kSpriteShieldFaintest = 6;  // "Shild7.bmp"; "Shild1.bmp" is in 12
inline constexpr int32_t kSpriteShieldBrightest = 12;

// Sound slots.
inline constexpr int32_t kSoundShotLeft = 0;  // kSoundShotLeft + gunSide
inline constexpr int32_t kSoundFlash = 2;
inline constexpr int32_t kSoundBigExplosion = 3;
inline constexpr int32_t kSoundFirstExplosion = 4;  // the five explosions: 4 to 8
