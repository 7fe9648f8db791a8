// Feeds arbitrary bytes to the recording and script reader: it must fail cleanly with a
// printable one-line reason, and every frame it accepts must come back unchanged through
// the writer the game records with.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/formats/recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const RecordingRead r = ParseRecording({reinterpret_cast<const char*>(data), size});
    if (!r.ok) {
        if (r.error.empty() || r.errorLine < 0 || !r.frames.empty()) std::abort();
        for (char c : r.error)
            if (c < ' ' || c > '~') std::abort();
        return 0;
    }
    std::string text;
    for (const ScriptFrame& frame : r.frames) {
        const InputFrame in = ToInputFrame(frame);  // a key outside 1..255 shows up here, under the sanitizer
        text.clear();
        AppendScriptLine(&text, in);
        const ScriptResult again = ParseScript(text);
        if (!again.ok || again.frames.size() != 1 || frame.buttons > 7) std::abort();
        const InputFrame back = ToInputFrame(again.frames[0]);
        if (back.dx != in.dx || back.dy != in.dy || back.wheel != in.wheel ||
            !std::equal(in.buttons, in.buttons + 3, back.buttons) || !std::equal(in.keys, in.keys + 256, back.keys))
            std::abort();
    }
    return 0;
}
