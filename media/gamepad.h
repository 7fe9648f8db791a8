// The gamepad: the first game controller SDL knows, read as the keys, buttons and mouse
// movement the game already reads, so the game sees nothing new and a recording of pad
// play is plain keyboard and mouse input. The keyboard and mouse examinations merge it:
// left stick W/A/S/D, right stick aim (as mouse movement), right trigger or right
// shoulder the left button, left trigger the right button, A or Start Space, Back held
// half a second Escape.
// Limits: one pad drives, the first taken; the aim is exact only once the cannon has
// followed the stick for a few frames (see stick.h); the pads are looked for only
// once a frame has been shown.
// Depends on SDL2's game-controller API, media/stick.h and runtime/clock.h. Internal to media/.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "media/stick.h"

// Taken by the keyboard and by the mouse, counted; the last GamepadEnd lets SDL's game
// controllers go. Without them the game plays on: the reason goes to stderr once.
void GamepadInit();
void GamepadEnd();
// Starts SDL's game controllers and takes the first pad, once, while taken (the input
// module calls it when a frame has been shown).
void GamepadStart();
// Pads plugged in or pulled out, button presses (latched until examined).
void GamepadHandleEvent(const SDL_Event& event);
// The pad that drove was pulled out since the last call.
bool GamepadTakeDriverLost();
// Forgets the latched presses (the input's source changes).
void GamepadDropPresses();

// Sets `down` on the keys the pad holds; keys has 256 entries by scan code.
void GamepadHoldKeys(uint8_t* keys, uint8_t down);

// Adds the pad's aim (unless a stick already aims) and buttons to the frame's mouse share.
void GamepadMouseShare(StickMouse* m);

// The clock the Back button is timed with (milliseconds; null: the runtime's). Reset by
// the last GamepadEnd.
void GamepadSetClock(uint32_t (*nowMs)());
