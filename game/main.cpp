// The game's entry point. The command line is ignored; the data files are read from
// the current folder.
#include <cstdio>
#include <cstdlib>

#include "game/frame_loop.h"
#include "game/startup.h"

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

}  // namespace

int main(int, char**) {
    Platform platform = DefaultPlatform();
    if (std::getenv("DREEL_FRAME_STATS")) platform.runFrame = RunFrameWithReport;
    return RunGame(platform);
}
