// dreel-replay: the game run headless from a seed and an input script, for tests and
// tools. See ReplayUsage for the command line.
#include <cstdio>

#include "tools/replay/options.h"
#include "tools/replay/replay.h"

#ifndef DREEL_DATA_DIR
#define DREEL_DATA_DIR "data"
#endif

int main(int argc, char** argv) {
    OptionsResult parsed = ParseOptions(argc, argv, DREEL_DATA_DIR);
    if (!parsed.ok) {
        std::fprintf(stderr, "dreel-replay: %s (try --help)\n", parsed.error.c_str());
        return kReplayBadUsage;
    }
    if (parsed.options.help) {
        std::fputs(ReplayUsage(), stdout);
        return kReplayDone;
    }
    return RunReplay(parsed.options);
}
