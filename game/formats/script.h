// The input script of recordings and of the replay tool: one line per frame,
// "dx dy wheel buttons keys", '#' comments, blank lines skipped, missing trailing fields
// read as 0 / none. The game writes its recordings with AppendScriptLine and plays them
// back with ParseScript; the replay tool reads the same lines.
// Limits: lines of at most kMaxScriptLine characters, at most kMaxScriptFrames frames.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/input.h"

// One frame of scripted input, as written in the script.
struct ScriptFrame {
    int32_t dx = 0, dy = 0;      // mouse movement of the frame
    int32_t wheel = 0;           // whole notches
    uint32_t buttons = 0;        // 1 left, 2 right, 4 middle
    std::vector<int32_t> keys;   // scan codes held, in the order written

    bool operator==(const ScriptFrame&) const = default;
};

// Longer lines are refused: a frame with every key held takes under 1000 characters.
inline constexpr size_t kMaxScriptLine = 4096;
// More frames are refused: 23 hours of play at 50 frames a second.
inline constexpr size_t kMaxScriptFrames = size_t{1} << 22;

struct ScriptResult {
    bool ok = false;
    std::vector<ScriptFrame> frames;  // frame n (from 1) is frames[n - 1]
    int32_t errorLine = 0;            // 1-based line of the first malformed line
    std::string error;                // what is wrong with it
};

// Parses a whole script. Stops at the first malformed line.
ScriptResult ParseScript(std::string_view text);

// The snapshot the input examinations report for this frame.
InputFrame ToInputFrame(const ScriptFrame& frame);

// Appends the script line, newline included, that ToInputFrame turns back into `frame`:
// keys ascending, "-" for none; key code 0 is no key and is left out.
void AppendScriptLine(std::string* out, const InputFrame& frame);

// `text` fit for a one-line message: at most 24 characters, anything unprintable as '?'.
std::string Shown(std::string_view text);
