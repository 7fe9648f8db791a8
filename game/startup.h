// Start-up and end of the game.
#pragma once

#include <cstdint>

#include "game/platform.h"

// The window title and the title of the error box.
inline constexpr const char* kWindowTitle = "Dreel";
inline constexpr const char* kErrorTitle = "Varnok Dreel";

// Steps 1 to 14 of start-up. Returns false when a check, the window or the screen
// failed; the end step has then been performed already.
bool StartUp(const Platform& platform);
// Loads the 13 pictures and 9 sounds, by bare name through the data search, into their slots.
void LoadGameData();
// Places eleven enemies at the edges and sets the state of play (steps 12 and 13).
void SetUpPlay(const Platform& platform);
// The whole program: start-up, the frame loop, the end. Returns the exit code:
// 0 after Escape or the close box, 1 after a failed start-up.
int RunGame(const Platform& platform);
