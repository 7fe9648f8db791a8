#include "game/playback.h"

#include <cstdio>

#include "game/formats/recording.h"
#include "game/state.h"
#include "media/data_files.h"
#include "media/input.h"
#include "media/screen.h"
#include "runtime/random.h"

PlaybackContext playback;

namespace {

constexpr int32_t kEscape = 1;

bool ViewerLeaves() {
    if (!KeyboardLiveDown(kEscape)) return false;
    game.quitRequested = 1;
    return true;
}

void Start() {
    playback.started = true;
    InputSetScripted(true);
    if (playback.dataDigest && *playback.dataDigest != DataReadDigest())
        std::fprintf(stderr, "dreel: this recording was made with other data files; it may play differently\n");
}

}  // namespace

std::string PlaybackLoad(const std::string& path) {
    playback = PlaybackContext{};
    std::string text, error;
    if (!ReadScriptFile(path, &text, &error)) return path + ": " + error;
    RecordingRead read = ParseRecording(text);
    if (!read.ok) return path + ":" + (read.errorLine ? std::to_string(read.errorLine) + ":" : "") + " " + read.error;
    // Either would open a window that never shows a game.
    if (!read.header.present) return path + ": not a recording of the game (its first line is not '# dreel-recording')";
    if (read.frames.empty()) return path + ": the recording holds no frame: nothing to play";
    playback.frames = std::move(read.frames);
    playback.seed = read.header.seed;
    playback.dataDigest = read.header.dataDigest;
    return "";
}

void PlaybackSeed() { RandomSeedWith(playback.seed); }

bool PlaybackNextFrame() {
    if (!playback.started) Start();
    if (ViewerLeaves()) return false;
    if (playback.over || playback.next >= playback.frames.size()) {
        playback.over = true;
        return false;
    }
    InputSetFrame(ToInputFrame(playback.frames[playback.next++]));
    return true;
}

void PlaybackAfterFrame() {
    if (game.quitRequested == 0) return;
    game.quitRequested = 0;
    playback.over = true;
}

// A resized or uncovered window shows the picture again.
void PlaybackHold() { ScreenFlip(); }
