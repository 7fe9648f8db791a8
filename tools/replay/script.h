// The replay tool's input script: one line per frame, "dx dy wheel buttons keys",
// '#' comments, blank lines skipped, missing trailing fields read as 0 / none.
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
