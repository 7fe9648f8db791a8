#include "game_run.h"

#include <unistd.h>

#include <filesystem>

#include "game/frame_loop.h"
#include "game/startup.h"
#include "game/state.h"
#include "media/screen.h"
#include "media/program_end.h"
#include "runtime/random.h"
#include "test_support.h"

namespace support {

namespace {

// The start-up's seeding hook takes no arguments: the chosen seed waits here.
uint32_t chosenSeed = 0;
void SeedWithChosen() { RandomSeedWith(chosenSeed); }
std::filesystem::path folderBefore;

}  // namespace

bool StartGame(uint32_t seed, const std::string& dataDir) {
    UseDummyDrivers();
    folderBefore = std::filesystem::current_path();
    std::filesystem::current_path(dataDir.empty() ? DataDir() : dataDir);
    chosenSeed = seed;
    Platform platform = DefaultPlatform();
    platform.seedRandom = SeedWithChosen;
    if (!StartUp(platform)) {
        std::filesystem::current_path(folderBefore);
        return false;
    }
    ScreenSetPacing(false);
    InputSetScripted(true);
    return true;
}

void StepGame(const InputFrame& input) {
    InputSetFrame(input);
    RunFramePhases();
}

void EndGame() {
    MouseRelease(1);
    ProgramEnd();
    InputSetScripted(false);
    ResetGameState();
    std::filesystem::current_path(folderBefore);
}

}  // namespace support
