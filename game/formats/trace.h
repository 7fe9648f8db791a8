// The state trace, written by the game (--trace) and by the replay tool alike: one JSON
// object per frame (JSON Lines) with the player, the counters, every list in list order
// and the sounds played in the frame. Traces are compared byte for byte and other tools
// read them, so the layout is fixed: keys in this order, ", " and ": " as separators.
#pragma once

#include <cstdint>
#include <string>

#include "game/state.h"

// Appends the trace line of `frame` for `state`, newline included. Frame 0 is the
// state right after start-up: it never lists sounds.
void AppendTraceLine(std::string* out, int32_t frame, const GameState& state);
