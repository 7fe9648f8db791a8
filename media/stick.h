// Sticks read as the game's own input, shared by the gamepad and the touch screen: the
// keys of the nearest of eight directions for moving, and the mouse movement that turns
// the cannon toward a stick's direction for aiming, so a recording of stick play is plain
// keyboard and mouse input.
// The aim: the game points the cannon at its heading offset (headingLength long, each
// coordinate rounded) plus the frame's mouse movement, clamped to +-limitX x +-limitY.
// We keep our own copy of that offset, worked out from the movement reported, and report
// the movement that puts the aim point a reach (690 for the game's figures) along the
// stick's direction. The true heading is unknown at first (and drifts from ours while
// the game ignores the mouse, after bursting), so the first frame may miss by up to
// asin(100 / 690); each frame then shrinks the miss about fourteenfold (690 / 50), to the
// table's tenth of a degree within a few frames. Only the reported movement matters to
// the game: its exactness never depends on this estimate.
// Limits: one heading copy for every stick; the caller applies its own dead zone.
// Depends on SDL2's scancodes (for the keys' PC codes) and media/scan_codes.h.
#pragma once

#include <cstdint>

// Sets `down` on the keys (256 entries by PC scan code) of the nearest of the eight
// directions of (x, y), y down, among W, A, S, D.
void StickHoldKeys(double x, double y, uint8_t* keys, uint8_t down);

// The frame's mouse share of the sticks: movement and buttons (the game's numbering:
// left, right, middle); `aiming` once a stick has set the movement.
struct StickMouse {
    int32_t dx = 0, dy = 0;
    uint8_t buttons[3] = {};
    bool aiming = false;
};
// Aims toward (x, y) into `m` unless a stick already aims there; without the game's
// figures (StickSetAim) nothing moves.
void StickAim(double x, double y, StickMouse* m);
// The frame's whole reported movement (mouse and sticks), which turns the game's
// heading: our copy follows it.
void StickFollowHeading(int64_t dx, int64_t dy);

// How the game turns its cannon; a setting of the process.
void StickSetAim(int32_t headingLength, int32_t limitX, int32_t limitY);
// The heading copy becomes unknown again (the input ends).
void StickForgetHeading();
