// Time from the start of the game to its first frame, headless, with the tables, the
// facilities and the 22 data files included.
// - BM_ProcessToFirstFrame: a fresh `dreel-replay --frames 1` process each time,
//   measured from the spawn until its trace line of frame 1 arrives on a pipe.
// - BM_StartUpToFirstFrame: the same inside this process: StartUp and one frame, the
//   tables freed and the facilities shut down (untimed) after each iteration.
// Goal: under 50 ms.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>

#include "game/frame_loop.h"
#include "game/startup.h"
#include "game/tables.h"
#include "media/input.h"
#include "media/screen.h"
#include "media/program_end.h"
#include "runtime/random.h"

extern char** environ;

namespace {

void SeedZero() { RandomSeedWith(0); }

// The replay tool beside this program in the same build: bench/ and tools/replay/.
std::string ReplayToolPath() {
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string path(self, static_cast<size_t>(n));
    path = path.substr(0, path.rfind('/'));  // .../bench
    path = path.substr(0, path.rfind('/'));  // the build folder
    return path + "/tools/replay/dreel-replay";
}

// Spawns the tool and returns the seconds until its second trace line (frame 1) has
// been read, or a negative value on failure. Waits for the process to end.
double OneProcess(const std::string& tool) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::string data = DREEL_DATA_DIR;
    const char* argv[] = {tool.c_str(), "--frames", "1", "--trace", "-", "--data", data.c_str(), nullptr};

    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int rc = posix_spawn(&pid, tool.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        return -1;
    }
    int lines = 0;
    char buffer[4096];
    double seconds = -1;
    while (lines < 2) {
        ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t i = 0; i < got; ++i) lines += buffer[i] == '\n';
    }
    if (lines >= 2) seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    while (read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return seconds;
}

void BM_ProcessToFirstFrame(benchmark::State& state) {
    const std::string tool = ReplayToolPath();
    if (access(tool.c_str(), X_OK) != 0) {
        state.SkipWithError("dreel-replay not built next to this benchmark");
        return;
    }
    for (auto _ : state) {
        double seconds = OneProcess(tool);
        if (seconds < 0) {
            state.SkipWithError("dreel-replay failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_ProcessToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_StartUpToFirstFrame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(DREEL_DATA_DIR) != 0) {
        state.SkipWithError("no data folder");
        return;
    }
    Platform platform = DefaultPlatform();
    platform.seedRandom = SeedZero;
    for (auto _ : state) {
        if (!StartUp(platform)) {
            state.SkipWithError("start-up failed");
            return;
        }
        ScreenSetPacing(false);
        InputSetScripted(true);
        InputSetFrame(InputFrame{});
        RunFramePhases();
        state.PauseTiming();
        MouseRelease(1);
        ProgramEnd();
        FreeTables();  // the next start-up fills them again
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
