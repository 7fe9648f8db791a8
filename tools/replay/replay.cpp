#include "tools/replay/replay.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include <SDL.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "game/formats/recording.h"
#include "game/formats/script.h"
#include "game/formats/trace.h"
#include "game/frame_loop.h"
#include "game/startup.h"
#include "game/state.h"
#include "game/tables.h"
#include "media/input.h"
#include "media/screen.h"
#include "runtime/digest.h"
#include "runtime/paths.h"
#include "media/program_end.h"
#include "runtime/random.h"
#include "tools/common/png_writer.h"

namespace {

// The platform hook takes no arguments, so the chosen seed waits here.
uint32_t chosenSeed = 0;
void SeedWithChosen() { RandomSeedWith(chosenSeed); }

void Complain(const std::string& message) {
    std::fprintf(stderr, "dreel-replay: %s\n", message.c_str());
}

// Output paths are given relative to where the tool was started, but the game runs
// in the data folder.
std::string Anchored(const std::string& path, const std::string& startFolder) {
    if (path.empty() || PathOfUtf8(path).has_root_path() || startFolder.empty()) return path;
    return Utf8OfPath(PathOfUtf8(startFolder) / PathOfUtf8(path));
}

std::string CurrentFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : Utf8OfPath(folder);
}

struct Outputs {
    std::FILE* trace = nullptr;  // null: no trace
    bool hashes = false;         // each line's digest in its place
    bool ownsTrace = false;
    std::string line;
    bool failed = false;
};

void WriteTrace(Outputs* out, int32_t frame) {
    if (!out->trace) return;
    out->line.clear();
    AppendTraceLine(&out->line, frame, game);
    if (out->hashes) {
        char digest[40];
        std::snprintf(digest, sizeof digest, "%d %016llx\n", static_cast<int>(frame),
                      static_cast<unsigned long long>(Digest(kDigestStart, out->line.data(), out->line.size() - 1)));
        out->line = digest;
    }
    bool ok = std::fwrite(out->line.data(), 1, out->line.size(), out->trace) == out->line.size();
    // On standard output the trace may feed a live reader: each frame goes out whole.
    if (ok && out->trace == stdout) ok = std::fflush(stdout) == 0;
    if (!ok && !out->failed) {
        Complain("cannot write the trace");
        out->failed = true;
    }
}

// Writes every screenshot asked for at this frame.
void WriteScreenshots(const ReplayOptions& options, int32_t frame, Outputs* out) {
    for (const PngRequest& png : options.pngs) {
        if (png.frame != frame) continue;
        const Picture* screen = ScreenBackBuffer();
        std::string error;
        if (!screen) {
            error = "no screen is open";
        } else if (WritePng(png.path.c_str(), screen->width, screen->height, screen->pixels.data(), &error)) {
            continue;
        }
        Complain("cannot write '" + png.path + "': " + error);
        out->failed = true;
    }
}

// Frames after Escape are never run: screenshots asked for them are missing.
void ReportMissedScreenshots(const ReplayOptions& options, int32_t lastFrame, Outputs* out) {
    for (const PngRequest& png : options.pngs) {
        if (png.frame <= lastFrame) continue;
        Complain("frame " + std::to_string(png.frame) + " was never reached (the run ended after frame " +
                 std::to_string(lastFrame) + "); '" + png.path + "' not written");
        out->failed = true;
    }
}

bool OpenTrace(const std::string& path, Outputs* out) {
    if (path.empty()) return true;
    if (path == "-") {
        out->trace = stdout;
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as elsewhere: no CR before LF
#endif
        return true;
    }
    out->trace = OpenFile(path, "wb");
    if (!out->trace) {
        Complain("cannot write trace '" + path + "': " + std::strerror(errno));
        return false;
    }
    out->ownsTrace = true;
    return true;
}

bool CloseTrace(Outputs* out) {
    if (!out->trace) return true;
    bool ok = std::fflush(out->trace) == 0 && std::ferror(out->trace) == 0;
    if (out->ownsTrace && std::fclose(out->trace) != 0) ok = false;
    out->trace = nullptr;
    if (!ok && !out->failed) Complain("cannot write the trace");
    return ok && !out->failed;
}

// Runs frames 1..frameLimit, or until a frame in which Escape is held; returns the
// last frame run.
int32_t RunFrames(const ReplayOptions& options, const std::vector<ScriptFrame>& script, int32_t frameLimit,
                  Outputs* out) {
    const InputFrame noInput;
    int32_t frame = 0;
    while (frame < frameLimit) {
        ++frame;
        size_t index = static_cast<size_t>(frame) - 1;
        InputSetFrame(index < script.size() ? ToInputFrame(script[index]) : noInput);
        RunFramePhases();
        WriteTrace(out, frame);
        WriteScreenshots(options, frame, out);
        if (game.quitRequested != 0) break;
    }
    return frame;
}

// The recording's frames and seed; false after a complaint.
bool LoadScript(const ReplayOptions& options, RecordingRead* read) {
    if (options.scriptPath.empty()) return read->ok = true;
    const std::string name = options.scriptPath == "-" ? "<stdin>" : options.scriptPath;
    std::string text, error;
    if (!ReadScriptFile(options.scriptPath, &text, &error)) {
        Complain(name + ": " + error);
        return false;
    }
    *read = ParseRecording(text);
    if (!read->ok) Complain(name + ":" + (read->errorLine ? std::to_string(read->errorLine) + ":" : "") + " " + read->error);
    return read->ok;
}

// Both lookup tables whole, so that builds on different platforms can be compared.
int WriteTables(const std::string& path) {
    if (!FillTables()) {
        Complain("no memory for the tables");
        return kReplayFailed;
    }
    std::FILE* file = OpenFile(path, "wb");
    if (!file) {
        Complain("cannot write tables '" + path + "': " + std::strerror(errno));
        return kReplayBadUsage;
    }
    // Whole, as the game reads them: every offset by dx then dy, 32 bits little-endian.
    std::string bytes;
    bool ok = true;
    for (int32_t (*table)(int32_t, int32_t) : {distanceTable, directionTable}) {
        bytes.clear();
        for (int32_t dx = -kMaxDx; dx <= kMaxDx; ++dx)
            for (int32_t dy = -kMaxDy; dy <= kMaxDy; ++dy)
                for (int b = 0; b < 4; ++b) bytes += static_cast<char>(static_cast<uint32_t>(table(dx, dy)) >> (8 * b));
        ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    ok = std::fclose(file) == 0 && ok;
    if (!ok) Complain("cannot write tables '" + path + "'");
    return ok ? kReplayDone : kReplayFailed;
}

}  // namespace

int RunReplay(const ReplayOptions& options) {
    if (!options.tablesPath.empty()) return WriteTables(options.tablesPath);
    RecordingRead script;
    if (!LoadScript(options, &script)) return kReplayBadUsage;
    int32_t frameLimit = options.framesGiven ? options.frames : static_cast<int32_t>(script.frames.size());

    const std::string startFolder = CurrentFolder();
    ReplayOptions anchored = options;
    for (PngRequest& png : anchored.pngs) png.path = Anchored(png.path, startFolder);
    Outputs out;
    out.hashes = options.hashes;
    if (!OpenTrace(options.tracePath, &out)) return kReplayBadUsage;

    // Headless whatever the environment says; before any SDL call.
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
#ifdef __EMSCRIPTEN__
    // Under node: the dummy device needs a thread; the browser's is stood in for, silent.
    SDL_setenv("SDL_AUDIODRIVER", "emscripten", 1);
#else
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
#endif
    std::error_code entered;
    std::filesystem::current_path(PathOfUtf8(options.dataDir), entered);
    if (entered) {
        Complain("cannot enter data folder '" + options.dataDir + "': " + entered.message());
        CloseTrace(&out);
        return kReplayBadUsage;
    }

    Platform platform = DefaultPlatform();
    // A recording's own seed unless one is asked for.
    chosenSeed = options.seedGiven ? options.seed : script.header.seed;
    platform.seedRandom = SeedWithChosen;
    if (!StartUp(platform)) {
        Complain("the game could not start");
        CloseTrace(&out);
        return kReplayFailed;
    }
    ScreenSetPacing(false);
    InputSetScripted(true);

    WriteTrace(&out, 0);
    int32_t lastFrame = RunFrames(anchored, script.frames, frameLimit, &out);
    ReportMissedScreenshots(anchored, lastFrame, &out);

    MouseRelease(1);
    ProgramEnd();
    bool traceOk = CloseTrace(&out);
    return traceOk && !out.failed ? kReplayDone : kReplayFailed;
}
