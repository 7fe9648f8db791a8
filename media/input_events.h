// The door through which the window module hands every SDL event it takes from the
// queue to the keyboard and mouse. Internal to media/: game code never includes it.
#pragma once

#include <SDL.h>

// Latches key and button presses, sums wheel notches and follows the input focus.
// Motion events are ignored: movement is read once per examination instead.
void InputHandleEvent(const SDL_Event& event);
