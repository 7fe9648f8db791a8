// The replay tool's command line:
//   dreel-replay [--seed N] [--script FILE] [--frames N] [--trace FILE] [--png N:FILE]... [--data DIR]
//   dreel-replay --tables FILE
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngRequest {
    int32_t frame = 0;  // 1 or more: the picture presented at the end of that frame
    std::string path;
};

struct ReplayOptions {
    bool seedGiven = false;
    uint32_t seed = 0;        // when not given: the recording's, else 0
    std::string scriptPath;   // empty: no input; "-": standard input
    bool framesGiven = false;
    int32_t frames = 0;       // when not given: the script's frame count
    std::string tracePath;    // empty: no trace; "-": standard output
    bool hashes = false;      // the trace as "FRAME DIGEST" lines, one per frame
    std::vector<PngRequest> pngs;
    std::string dataDir;
    std::string tablesPath;   // not empty: write the lookup tables there instead of playing
    bool help = false;
};

struct OptionsResult {
    bool ok = false;
    ReplayOptions options;
    std::string error;  // one line, no newline
};

// `defaultDataDir` is the build's data folder.
OptionsResult ParseOptions(int argc, const char* const* argv, const std::string& defaultDataDir);

const char* ReplayUsage();
