// A recording, as the game writes it and as the game and the replay tool read it: an
// input script whose first line names the format and the seed,
//   # dreel-recording 1 seed=N
// followed by more header comments ("# game ...", "# recorded ...", "# data fnv1a64=HEX")
// and one script line per frame. Scripts without that line read as recordings of seed 0.
// Limits: files of at most kMaxScriptBytes; the script's own limits (script.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/formats/script.h"

// The format written; later ones are refused, their lines may mean something else.
inline constexpr uint32_t kRecordingVersion = 1;
// Larger files are refused unread: at some 10 bytes a frame, 32 MiB is 18 hours of play.
inline constexpr size_t kMaxScriptBytes = size_t{32} << 20;

struct RecordingHeader {
    bool present = false;                // the first line names the format
    uint32_t seed = 0;                   // of the random generator; 0 without a header
    std::optional<uint64_t> dataDigest;  // of the data files played with, when written
};

struct RecordingRead {
    bool ok = false;
    RecordingHeader header;
    std::vector<ScriptFrame> frames;  // frame n (from 1) is frames[n - 1]
    int32_t errorLine = 0;            // 1-based line of the fault; 0 for the whole text
    std::string error;                // what is wrong, one line
};

// The header lines, newline included; `recordedAt` is a time in words, or empty.
std::string RecordingHeaderText(uint32_t seed, const std::string& gameVersion, const std::string& recordedAt,
                                uint64_t dataDigest);
// Parses a recording or a plain script. A recording must end with a newline: a cut line
// at its end is refused rather than played as a different frame.
RecordingRead ParseRecording(std::string_view text);
// The whole file at `path` ("-": standard input) into `text`; false with a one-line
// reason in `error` when it cannot be read or is larger than kMaxScriptBytes.
bool ReadScriptFile(const std::string& path, std::string* text, std::string* error);
