#include "tools/replay/options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

bool ParseDecimal(std::string_view text, uint64_t high, uint64_t* out) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;  // no sign
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > high) return false;
    *out = value;
    return true;
}

bool ParsePng(std::string_view text, PngRequest* png) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon + 1 >= text.size()) return false;
    uint64_t frame = 0;
    if (!ParseDecimal(text.substr(0, colon), INT32_MAX, &frame) || frame == 0) return false;
    png->frame = static_cast<int32_t>(frame);
    png->path = std::string(text.substr(colon + 1));
    return true;
}

OptionsResult Fail(std::string message) {
    OptionsResult r;
    r.error = std::move(message);
    return r;
}

}  // namespace

OptionsResult ParseOptions(int argc, const char* const* argv, const std::string& defaultDataDir) {
    OptionsResult result;
    ReplayOptions& o = result.options;
    o.dataDir = defaultDataDir;
    bool seen[6] = {};  // seed, script, frames, trace, data, tables: each at most once
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--hashes") {
            (arg == "--hashes" ? o.hashes : o.help) = true;
            continue;
        }
        static const char* const kOnce[] = {"--seed", "--script", "--frames", "--trace", "--data", "--tables"};
        int once = -1;
        for (int k = 0; k < 6; ++k)
            if (arg == kOnce[k]) once = k;
        if (once < 0 && arg != "--png") return Fail("unknown argument '" + std::string(arg) + "'");
        if (i + 1 >= argc) return Fail(std::string(arg) + " needs a value");
        std::string_view value = argv[++i];
        if (once >= 0) {
            if (seen[once]) return Fail(std::string(arg) + " given twice");
            seen[once] = true;
        }
        uint64_t number = 0;
        if (arg == "--seed") {
            if (!ParseDecimal(value, UINT32_MAX, &number))
                return Fail("--seed needs an unsigned 32-bit decimal number, not '" + std::string(value) + "'");
            o.seedGiven = true;
            o.seed = static_cast<uint32_t>(number);
        } else if (arg == "--frames") {
            if (!ParseDecimal(value, INT32_MAX, &number))
                return Fail("--frames needs a decimal count, not '" + std::string(value) + "'");
            o.framesGiven = true;
            o.frames = static_cast<int32_t>(number);
        } else if (arg == "--png") {
            PngRequest png;
            if (!ParsePng(value, &png))
                return Fail("--png needs FRAME:FILE with a frame of 1 or more, not '" + std::string(value) + "'");
            o.pngs.push_back(std::move(png));
        } else if (value.empty()) {
            return Fail(std::string(arg) + " needs a non-empty value");
        } else if (arg == "--script") {
            o.scriptPath = value;
        } else if (arg == "--trace") {
            o.tracePath = value;
        } else if (arg == "--tables") {
            o.tablesPath = value;
        } else {
            o.dataDir = value;
        }
    }
    result.ok = true;
    return result;
}

const char* ReplayUsage() {
    return "usage: dreel-replay [--seed N] [--script FILE] [--frames N] [--trace FILE [--hashes]] "
           "[--png N:FILE]... [--data DIR]\n"
           "  --seed N       seed of the random generator (unsigned 32-bit; default: the recording's, else 0)\n"
           "  --script FILE  input script or recording, one line per frame: dx dy wheel buttons keys ('-': stdin)\n"
           "  --frames N     frames to run (default: the script's frame lines); Escape ends earlier\n"
           "  --trace FILE   write the state trace as JSON Lines ('-': stdout)\n"
           "  --hashes       write each trace line as 'FRAME DIGEST' (64-bit FNV-1a, hex) instead\n"
           "  --png N:FILE   write the picture presented at the end of frame N as PNG (repeatable)\n"
           "  --data DIR     folder of the game's pictures and sounds (default: the build's data)\n"
           "  --tables FILE  only write the distance and direction tables (little-endian 32-bit, by dx then dy)\n"
           "exit codes: 0 done, 1 the game could not start or an output could not be written,\n"
           "            2 bad arguments or script\n";
}
