// The touch screen as twin sticks, read as the keys, buttons and mouse movement the game
// already reads, as the gamepad is: a recording of touch play is plain keyboard and mouse
// input. The sticks float: a finger landing on the left half of the window is the move
// stick, centred where it landed; one landing on the right half is the aim stick. Each
// finger owns its stick until it lifts; further fingers are ignored. Past a dead zone
// the move stick holds the keys of the nearest of eight directions and the aim stick
// aims the cannon that way (stick.h) and holds the left button. Every finger landing
// presses Space once (after bursting, a tap plays again).
// A lifted or cancelled finger, the window losing the focus or being hidden, and the
// input pausing or ending release everything held. SDL's own translation of a finger
// into the mouse is turned off by the mouse (input.cpp).
// Limits: one move and one aim stick; distances in the window's size units (the web
// page's SDL window is the picture's 800 x 600, shown at whatever size).
// Depends on SDL2's touch events and media/stick.cpp. Internal to media/, but for
// TouchStickState, which the web page reads to draw the sticks.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "media/stick.h"

// Fingers landing, moving and lifting; focus lost, hidden, minimised.
void TouchHandleEvent(const SDL_Event& event);
// Every stick lets go; a pending tap is forgotten.
void TouchReleaseAll();
// Sets `down` on the keys the sticks and taps hold; keys has 256 entries by PC code.
void TouchHoldKeys(uint8_t* keys, uint8_t down);
// Adds the aim stick's aim (unless a stick already aims) and its button.
void TouchMouseShare(StickMouse* m);

// A stick as the page draws it: where its finger landed and where it is now, as
// fractions of the window.
struct TouchStick {
    bool held = false;
    float originX = 0, originY = 0, x = 0, y = 0;
};
enum class TouchStickKind { Move, Aim };
TouchStick TouchStickState(TouchStickKind kind);
