// The game's entry point. The command line is ignored; the data files are read from
// the current folder.
#include <cstdio>
#include <cstdlib>

#include "game/frame_loop.h"
#include "game/startup.h"

int main(int, char**) {
    int code = RunGame(DefaultPlatform());
    // Punctuality report for the end-to-end test: set DREEL_FRAME_STATS to see it.
    if (std::getenv("DREEL_FRAME_STATS"))
        std::fprintf(stderr, "frames %u, latest start %u ms after due\n", loopStats.frames,
                     loopStats.maxLateMs);
    return code;
}
