// dreel-replay: the game run headless from a seed and an input script, for tests and
// tools. See ReplayUsage for the command line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "media/data_files.h"
#include "runtime/paths.h"
#include "tools/replay/options.h"
#include "tools/replay/replay.h"

#ifndef DREEL_DATA_DIR
#define DREEL_DATA_DIR "data"
#endif

namespace {

// The build's data folder while there is one; otherwise the first folder of the game's
// own data search that exists (for an installed tool, the data installed beside it).
std::string DefaultDataFolder() {
    std::error_code error;
    if (std::filesystem::is_directory(PathOfUtf8(DREEL_DATA_DIR), error)) return DREEL_DATA_DIR;
    for (const std::string& folder : DataSearchFolders(DataSearchInputsOfProcess(std::nullopt)))
        if (folder != "." && std::filesystem::is_directory(PathOfUtf8(folder), error)) return folder;
    return DREEL_DATA_DIR;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    OptionsResult parsed = ParseOptions(static_cast<int>(pointers.size()), pointers.data(), DefaultDataFolder());
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
