// The real game in the test process, frame after frame, the way the replay tool runs it:
// start-up from a data folder with a chosen seed, scripted input, no pacing. Faster than
// the tool and its files, and the whole state can be read after every frame.
#pragma once

#include <cstdint>
#include <string>

#include "media/input.h"

namespace support {

// Starts the game headless in `dataDir` (the build's data by default); false when the
// start-up failed. The current folder is restored by EndGame.
bool StartGame(uint32_t seed, const std::string& dataDir = "");
// One frame with this input (phases 2 to 15, as the loop runs them).
void StepGame(const InputFrame& input = {});
// Program end, a reset state, scripting off, the old folder back.
void EndGame();

// Keys by scan code, for building input frames in tests.
inline constexpr int32_t kScanW = 17, kScanA = 30, kScanS = 31, kScanD = 32, kScanSpace = 57, kScanEscape = 1;

}  // namespace support
