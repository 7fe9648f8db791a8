// The game's pictures, each painted by its own function from fixed seeds. Sizes are the
// ones the game assumes; black (0, 0, 0) is transparent in every one of them.
#pragma once

#include "tools/datagen/canvas.h"
#include "tools/datagen/paint.h"

inline constexpr int32_t kBallCell = 16;        // cells of the ball sheet
inline constexpr int32_t kBallSheetSide = 80;   // five cells to a row and column
inline constexpr int32_t kAimMarkerX = 64;      // the cell the game clips for the aim marker
inline constexpr int32_t kAimMarkerY = 64;
inline constexpr int32_t kGearSide = 32;        // cannon, shields and smoke
inline constexpr int32_t kShieldCount = 7;

Image MakeBackground();  // 800 x 600 arena floor, no black pixel
Image MakeBallSheet();   // player, three enemy kinds, aim marker
Image MakeShot();        // 4 x 4 bolt, every pixel lit
Image MakeSmoke();       // 32 x 32 soft cloud in dark greys
Image MakeStain();       // 16 x 16 splat
Image MakeCannon();      // 32 x 32 twin barrels pointing right
Image MakeShield(int level);  // 32 x 32 arc on the right; level 1 (bright, full) to 7 (faint, thin)

// The player's ball and its cannon as smooth shapes, for pictures at other scales: the ball
// in its 16-unit cell, the cannon in its 32-unit frame pointing right, ball centre at 16.
Sample PlayerBallAt(double x, double y);
Sample CannonAt(double x, double y);

// The application icon, side x side: the player's ball and cannon on a deck plate.
Image MakeIcon(int32_t side);
