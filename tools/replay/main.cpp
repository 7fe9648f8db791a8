// dreel-replay: the game run headless from a seed and an input script, for tests and
// tools. See ReplayUsage for the command line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <SDL.h>

#include "tools/replay/options.h"
#include "tools/replay/replay.h"

#ifndef DREEL_DATA_DIR
#define DREEL_DATA_DIR "data"
#endif

#ifndef DREEL_DATA_RELATIVE_INSTALL
#define DREEL_DATA_RELATIVE_INSTALL "data"
#endif

namespace {

// The build's data folder while there is one; an installed tool, the data installed
// beside it.
std::string DefaultDataFolder() {
    std::error_code error;
    if (std::filesystem::is_directory(DREEL_DATA_DIR, error)) return DREEL_DATA_DIR;
    char* base = SDL_GetBasePath();
    if (!base) return DREEL_DATA_DIR;
    const std::filesystem::path folder = std::filesystem::path(base) / DREEL_DATA_RELATIVE_INSTALL;
    SDL_free(base);
    return folder.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
    OptionsResult parsed = ParseOptions(argc, argv, DefaultDataFolder());
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
