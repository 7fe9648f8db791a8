#include "game/command_line.h"

#include <filesystem>
#include <string_view>

#include "runtime/paths.h"

#ifndef DREEL_VERSION
#define DREEL_VERSION "unknown"
#endif

namespace {

constexpr int kMaxScale = 16;  // 12800 x 9600: more than any screen

// The option taking a value that `arg` is, alone or as NAME=VALUE; null if none.
const char* ValueOption(const std::string& arg) {
    for (const char* name : {"--data", "--scale-mode", "--scale", "--record", "--trace", "--play"}) {
        const std::string_view n(name);
        if (arg == n || (arg.starts_with(n) && arg.size() > n.size() && arg[n.size()] == '=')) return name;
    }
    return nullptr;
}

bool ParseScale(const std::string& text, int* scale) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int n = std::stoi(text);
    if (n < 1 || n > kMaxScale) return false;
    *scale = n;
    return true;
}

std::optional<std::string>& FileOption(CommandLine& line, std::string_view name) {
    if (name == "--record") return line.recordPath;
    if (name == "--trace") return line.tracePath;
    if (name == "--play") return line.playPath;
    return line.dataFolder;
}

CommandLine Failure(std::string error) {
    CommandLine line;
    line.action = CommandAction::Fail;
    line.error = std::move(error);
    return line;
}

// The same file by identity (a link, another spelling of an existing path) or, where
// either is missing, by the path it would be created at.
bool SameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    const fs::path fa = PathOfUtf8(a), fb = PathOfUtf8(b);
    std::error_code error;
    if (fs::equivalent(fa, fb, error)) return true;
    const fs::path pa = fs::weakly_canonical(fa, error);
    if (error) return fa.lexically_normal() == fb.lexically_normal();
    const fs::path pb = fs::weakly_canonical(fb, error);
    return !error && pa == pb;
}

}  // namespace

std::string FileOptionsClash(const CommandLine& line) {
    const struct { const char* name; const std::optional<std::string>& path; } files[] = {
        {"--play", line.playPath}, {"--record", line.recordPath}, {"--trace", line.tracePath}};
    for (size_t i = 0; i < std::size(files); ++i)
        for (size_t j = i + 1; j < std::size(files); ++j)
            if (files[i].path && files[j].path && SameFile(*files[i].path, *files[j].path))
                return std::string("options '") + files[i].name + "' and '" + files[j].name + "' name the same file '" +
                       *files[j].path + "'";
    return "";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool help = false, version = false, stats = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--stats") {
            stats = true;
        } else if (arg == "--fullscreen" || arg == "--window") {
            line.fullscreen = arg == "--fullscreen";  // the last one given wins
        } else if (const char* name = ValueOption(arg)) {
            std::string value;
            if (arg == name) {
                if (i + 1 == args.size()) return Failure(std::string("option '") + name + "' needs a value");
                value = args[++i];
            } else {
                value = arg.substr(std::string_view(name).size() + 1);
            }
            if (std::string_view(name) == "--scale-mode") {
                if (value != "fill" && value != "integer")
                    return Failure("option '--scale-mode' needs 'fill' or 'integer', not '" + value + "'");
                line.integerScale = value == "integer";
            } else if (std::string_view(name) == "--scale") {
                int scale = 1;
                if (!ParseScale(value, &scale))
                    return Failure("option '--scale' needs a whole number from 1 to " + std::to_string(kMaxScale) +
                                   ", not '" + value + "'");
                line.scale = scale;
            } else if (value.empty()) {
                return Failure(std::string("option '") + name + "' needs a " +
                               (std::string_view(name) == "--data" ? "folder" : "file") + ", not an empty name");
            } else {
                FileOption(line, name) = value;
            }
        } else if (arg.starts_with("-")) {
            return Failure("unknown option '" + arg + "'");
        } else {
            return Failure("unexpected argument '" + arg + "'");
        }
    }
    // Watching a recording while writing one would only copy it.
    if (line.playPath && line.recordPath) return Failure("options '--play' and '--record' cannot be used together");
    // Asking how to use it is answered even when other options came with it.
    if (help) line.action = CommandAction::Help;
    else if (version) line.action = CommandAction::Version;
    else if (stats) line.action = CommandAction::Stats;
    return line;
}

const char* UsageText() {
    return "Usage: dreel [OPTION]...\n"
           "Steer a ball with a twin-barrelled cannon through an arena of enemy balls.\n"
           "\n"
           "  --data DIR     read the pictures and sounds from DIR only\n"
           "  --fullscreen   start in full screen\n"
           "  --window       start in a window (the default)\n"
           "  --scale N      open the window N times as large (1 to 16), as far as it fits\n"
           "  --scale-mode fill|integer\n"
           "                 fill the window or screen, pixels kept sharp (the default), or\n"
           "                 show the picture at the largest whole-number scale that fits\n"
           "  --record FILE  write a recording of the game to FILE\n"
           "  --play FILE    watch a recording; Escape ends it\n"
           "  --trace FILE   write the state of every frame to FILE (JSON Lines)\n"
           "  --stats        show the best life and the totals of all lives, and exit\n"
           "  --help         show this text and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "F11 or Alt+Enter switches between the window and full screen; P or Pause\n"
           "pauses, - and + set the volume, M mutes. Full screen, the volume and the other\n"
           "settings are kept in settings.txt (see the README); the options above apply to\n"
           "this run only.\n"
           "\n"
           "A gamepad plays too: left stick thrust, right stick aim, right trigger or right\n"
           "shoulder fire, left trigger thrust backward, A or Start play again after bursting,\n"
           "Back held half a second quit.\n"
           "\n"
           "Without --data the data files are looked for in the current folder, beside\n"
           "the game's own folder, then in each $XDG_DATA_DIRS folder + /dreel.\n";
}

std::string VersionLine() { return std::string("Dreel ") + DREEL_VERSION; }
