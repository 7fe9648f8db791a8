#include "game/recorder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "game/formats/recording.h"
#include "game/formats/script.h"
#include "game/formats/trace.h"
#include "game/state.h"
#include "media/data_files.h"
#include "media/input.h"
#include "runtime/clock.h"
#include "runtime/paths.h"
#include "runtime/random.h"

RecorderContext recorder;

namespace {

void SayCannotWrite(const RecorderOutput& out, int error) {
    std::fprintf(stderr, "dreel: cannot write the %s '%s': %s; the game goes on without it\n", out.what,
                 out.path.c_str(), std::strerror(error));
}

void GiveUp(RecorderOutput* out, int error) {
    SayCannotWrite(*out, error);
    std::fclose(out->file);
    out->file = nullptr;
}

// Opened for appending, which creates it but keeps what it holds until the game starts.
void Open(RecorderOutput* out, const std::string& path, const char* what) {
    *out = RecorderOutput{nullptr, path, what};
    if (path.empty()) return;
    std::error_code error;
    const bool existed = std::filesystem::exists(PathOfUtf8(path), error) || error;
    out->file = OpenFile(path, "ab");
    if (!out->file) return SayCannotWrite(*out, errno);
    out->created = !existed;
}

// The game has started: the file is emptied for what it writes.
void Truncate(RecorderOutput* out) {
    if (!out->file) return;
    std::fclose(out->file);
    out->file = OpenFile(out->path, "wb");
    if (!out->file) SayCannotWrite(*out, errno);
}

void Write(RecorderOutput* out, const std::string& text) {
    if (!out->file) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out->file) != text.size() || std::fflush(out->file) != 0)
        GiveUp(out, errno ? errno : EIO);
}

}  // namespace

void RecorderOpen(const std::string& recordingPath, const std::string& tracePath, const std::string& gameVersion) {
    recorder = RecorderContext{};
    recorder.gameVersion = gameVersion;
    Open(&recorder.recording, recordingPath, "recording");
    Open(&recorder.trace, tracePath, "trace");
}

void RecorderBegin() {
    if (recorder.begun || (!recorder.recording.file && !recorder.trace.file)) return;
    recorder.begun = true;
    Truncate(&recorder.recording);
    Truncate(&recorder.trace);
    Write(&recorder.recording, RecordingHeaderText(randomState.seed, recorder.gameVersion, UtcNowText(), DataReadDigest()));
    recorder.line.clear();
    AppendTraceLine(&recorder.line, 0, game);
    Write(&recorder.trace, recorder.line);
}

void RecorderFrame() {
    if (!recorder.recording.file && !recorder.trace.file) return;
    ++recorder.frame;
    recorder.line.clear();
    AppendScriptLine(&recorder.line, InputSnapshot());
    Write(&recorder.recording, recorder.line);
    recorder.line.clear();
    AppendTraceLine(&recorder.line, recorder.frame, game);
    Write(&recorder.trace, recorder.line);
}

void RecorderClose(bool played) {
    if (played) RecorderBegin();
    for (RecorderOutput* out : {&recorder.recording, &recorder.trace}) {
        if (!out->file) continue;
        if (std::fclose(out->file) != 0)
            std::fprintf(stderr, "dreel: cannot write the %s '%s': %s\n", out->what, out->path.c_str(), std::strerror(errno));
        out->file = nullptr;
        if (!recorder.begun && out->created) {
            std::error_code error;
            std::filesystem::remove(PathOfUtf8(out->path), error);  // best effort: it is empty
        }
    }
}
