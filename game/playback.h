// A recording watched in the game's window at the game's own pace: its seed starts the
// game, its frames stand in for the keyboard and the mouse. The viewer's Escape ends it;
// at its end (a recorded Escape included) the last picture stays until Escape or the
// close box. A recording made with other data files plays all the same, said once.
// Depends on the recording reader (game/formats) and media/input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/formats/script.h"

struct PlaybackContext {
    std::vector<ScriptFrame> frames;     // the recording's frames, in order
    size_t next = 0;                     // index of the next frame to play
    uint32_t seed = 0;                   // the recording's seed
    std::optional<uint64_t> dataDigest;  // of the data files it was made with
    bool started = false;                // scripted input is on, the data compared
    bool over = false;                   // the last frame is shown; no more frames run
};
extern PlaybackContext playback;

// Reads the recording; an empty result, or the one-line reason it cannot be played
// ("FILE:LINE: what"). A plain script (no recording header) and a recording without a
// frame are refused: there is no game in them to watch.
std::string PlaybackLoad(const std::string& path);
// The start-up's seeding: the recording's seed.
void PlaybackSeed();
// Before a frame: its input; false when no frame should run (the recording is over, or
// the viewer pressed Escape, which then ends the game).
bool PlaybackNextFrame();
// After a frame: a quit in the recording ends the playback, not the program.
void PlaybackAfterFrame();
// In place of a frame once it is over: the last picture shown again.
void PlaybackHold();
