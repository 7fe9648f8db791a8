// Runs the real game headless from a seed and an input script, frames back to back,
// writing the state trace and screenshots that the options ask for.
#pragma once

#include "tools/replay/options.h"

// Exit codes of the tool.
inline constexpr int kReplayDone = 0;
inline constexpr int kReplayFailed = 1;   // the game could not start, or an output was not written
inline constexpr int kReplayBadUsage = 2; // bad arguments, unreadable or malformed script

// The whole run; messages go to standard error, one line each. Sets the SDL drivers to
// the dummy ones and changes the current folder to the data folder.
int RunReplay(const ReplayOptions& options);
