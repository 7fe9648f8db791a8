// Keyboard and mouse, read by polling: each examination takes a snapshot that the
// game then queries. Key codes are PC scan codes (set 1, extended keys + 0x80).
// A key or button pressed since the last examination reads as down in the next
// snapshot even if it was already let go, so a short tap or click is never lost.
// While captured the pointer is hidden and held in the window (SDL relative mode);
// movement and whole wheel notches are summed between examinations.
// A gamepad plugged in reads as keys, buttons and movement too (media/gamepad.h): the
// game sees only the keyboard and the mouse.
// Depends on SDL2 events; the events module takes them from the queue and hands them in
// through input_events.h. A scripted mode feeds snapshots from a replay; either source's
// snapshot can be read back whole, for recordings.
#pragma once

#include <cstdint>

int32_t KeyboardInit();
int32_t KeyboardExamine();
int32_t KeyDown(int32_t key);  // 128 or 0; for -1: 1 if any key is down
int32_t MouseInit();
int32_t MouseExamine();
int32_t MouseStateX();
int32_t MouseStateY();
int32_t MouseStateWheel();
int32_t MouseStateButton(int32_t button);  // 1..3
void MouseRelease(int32_t flag);
void KeyboardEnd();
void MouseEnd();

// --- beyond the game's operations ---

// The mouse's sensitivity in 256ths (64 to 1024: 0.25 to 4; 256, the default, leaves the
// movement as it is): the movement the game reads is scaled, fractions carried to the
// next frame. Kept across MouseInit; MouseEnd sets it back to 256.
inline constexpr int32_t kMouseSensitivityOne = 256;
void MouseSetSensitivity(int32_t per256);
// One axis of that: `moved` times per256 / 256 with the fraction carried in `carry`.
int32_t ScaleMouseMove(int32_t moved, int32_t per256, int64_t* carry);

// The game is paused: the pointer goes back to the desktop and what is latched is dropped.
void InputPause();
// ...and goes on: presses, movement and wheel of the pause are dropped (the pointer is
// taken again by the next examination); with `holdButtonsOff` the buttons read as up
// until all are released, so the click that brought the window back does not fire.
void InputResume(bool holdButtonsOff);

// How the game turns its cannon, for the gamepad's right stick: toward its heading
// offset (this long, each coordinate rounded) plus the frame's mouse movement, clamped
// to +-limitX x +-limitY. Handed over by the game at start-up; a setting of the process.
// Without it the stick does not aim.
struct AimGeometry {
    int32_t headingLength = 0;
    int32_t limitX = 0, limitY = 0;
};
void InputSetAimGeometry(const AimGeometry& aim);

// --- scripted input (replay tool, tests) ---

// The most a frame's mouse movement reports on either axis, live or scripted. Far beyond
// any hand (the aim clamps at 1000) and small enough that the game's sums never overflow;
// a recording never holds more, and its reader refuses more.
inline constexpr int32_t kMouseMoveLimit = 1 << 20;

// One frame of input as the examinations should report it.
struct InputFrame {
    int32_t dx = 0, dy = 0, wheel = 0;  // wheel in whole notches
    uint8_t buttons[3] = {0, 0, 0};     // 1 = down, buttons 1..3
    uint8_t keys[256] = {};             // non-zero = down, by scan code
};
// With scripting on, KeyboardExamine and MouseExamine take the frame last set instead
// of reading SDL.
void InputSetScripted(bool on);
void InputSetFrame(const InputFrame& frame);
// What the last examinations left for the game to read, whichever the source: the
// frame a recording keeps (buttons and keys as 1 = down).
InputFrame InputSnapshot();
// The real keyboard even while scripted: 128 when `key` is held now or was pressed since
// the last call, else 0. Lets a viewer leave a recording that plays back.
int32_t KeyboardLiveDown(int32_t key);
