// The game's entry point: the command line, the data search, then the game.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/command_line.h"
#include "game/frame_loop.h"
#include "game/playback.h"
#include "game/player_files.h"
#include "game/recorder.h"
#include "game/startup.h"
#include "media/comfort.h"
#include "media/data_files.h"
#include "media/screen.h"
#include "media/window.h"
#include "runtime/errorbox.h"
#include "runtime/paths.h"

namespace {

// With DREEL_FRAME_STATS set, every 50 frames (a second of play) report how late the
// latest of them started; the end-to-end test reads these lines.
void RunFrameWithReport() {
    RunFramePhases();
    if (loopStats.frames >= 50) {
        std::fprintf(stderr, "frames %u, latest start %u ms after due\n", loopStats.frames,
                     loopStats.maxLateMs);
        std::fflush(stderr);
        loopStats = LoopStats{};
    }
}

// The frame the loop runs before recording and playback are put around it.
void (*innerFrame)() = RunFramePhases;
bool playing = false;

// A frame with the recording and the trace written after it; while a recording plays,
// its input goes in first, and once it is over no frame runs at all.
void RunFrameAround() {
    if (playing && !PlaybackNextFrame()) {
        if (playback.over) PlaybackHold();
        return;
    }
    RecorderBegin();
    innerFrame();
    RecorderFrame();
    if (playing) PlaybackAfterFrame();
    PlayerFilesAfterFrame();
    PlayerFilesNotice();
}

// Paused, the game runs no frame, but what the player changes is saved all the same.
bool FramesHeld() {
    const bool held = ComfortFramesHeld();
    if (held) PlayerFilesNotice();
    return held;
}

int Refuse(const std::string& error) {
    std::fprintf(stderr, "dreel: %s\n%s", error.c_str(), UsageText());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    MessagesToParentConsole();
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    const CommandLine line = ParseCommandLine(std::vector<std::string>(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end()));
    switch (line.action) {
        case CommandAction::Help: std::fputs(UsageText(), stdout); return 0;
        case CommandAction::Version: std::printf("%s\n", VersionLine().c_str()); return 0;
        case CommandAction::Stats: return PrintStats();
        case CommandAction::Fail: return Refuse(line.error);
        case CommandAction::Play: break;
    }
    // One line: the usage would not help, and the files are left untouched.
    if (const std::string clash = FileOptionsClash(line); !clash.empty())
        return std::fprintf(stderr, "dreel: %s\n", clash.c_str()), 2;
    std::error_code error;
    if (line.dataFolder && !std::filesystem::is_directory(PathOfUtf8(*line.dataFolder), error))
        return Refuse("option '--data': '" + *line.dataFolder + "' is not a folder");
    DataSearchSet(DataSearchFolders(DataSearchInputsOfProcess(line.dataFolder)));

    Platform platform = DefaultPlatform();
    if (std::getenv("DREEL_FRAME_STATS")) innerFrame = RunFrameWithReport;
    platform.runFrame = RunFrameAround;
    if (line.playPath) {
        const std::string why = PlaybackLoad(*line.playPath);
        if (!why.empty()) return std::fprintf(stderr, "dreel: %s\n", why.c_str()), 2;
        platform.seedRandom = PlaybackSeed;
        playing = true;
    }
    if (line.playPath || line.recordPath) DataDigestStart();
    RecorderOpen(line.recordPath.value_or(""), line.tracePath.value_or(""), VersionLine());
    PlayerFilesStart(line, !playing);
    platform.framesHeld = FramesHeld;
    const int code = RunGame(platform);
    PlayerFilesEnd();
    ComfortEnd();
    RecorderClose(code == 0);
    return code;
}
