// The door through which the events module hands every SDL event it takes from the
// queue to the keyboard, mouse and gamepad, and the screen tells of a frame shown.
// Internal to media/: game code never includes it.
#pragma once

#include <SDL.h>

// Latches key and button presses, sums wheel notches and follows the input focus.
// Motion events are ignored: movement is read once per examination instead.
void InputHandleEvent(const SDL_Event& event);
// A frame has been shown: the game-controller subsystem may start now, off the path to
// the first picture (its start enumerates devices and reads SDL's controller database).
void InputFrameShown();
