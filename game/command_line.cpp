#include "game/command_line.h"

#ifndef DREEL_VERSION
#define DREEL_VERSION "unknown"
#endif

namespace {

CommandLine Failure(std::string error) {
    CommandLine line;
    line.action = CommandAction::Fail;
    line.error = std::move(error);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool help = false, version = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--data" || arg.starts_with("--data=")) {
            std::string value;
            if (arg == "--data") {
                if (i + 1 == args.size()) return Failure("option '--data' needs a folder");
                value = args[++i];
            } else {
                value = arg.substr(7);
            }
            if (value.empty()) return Failure("option '--data' needs a folder, not an empty name");
            line.dataFolder = value;
        } else if (arg.starts_with("-")) {
            return Failure("unknown option '" + arg + "'");
        } else {
            return Failure("unexpected argument '" + arg + "'");
        }
    }
    // Asking how to use it is answered even when other options came with it.
    if (help) line.action = CommandAction::Help;
    else if (version) line.action = CommandAction::Version;
    return line;
}

const char* UsageText() {
    return "Usage: dreel [OPTION]...\n"
           "Steer a ball with a twin-barrelled cannon through an arena of enemy balls.\n"
           "\n"
           "  --data DIR   read the pictures and sounds from DIR only\n"
           "  --help       show this text and exit\n"
           "  --version    show the version and exit\n"
           "\n"
           "Without --data the data files are looked for in the current folder, beside\n"
           "the game's own folder, then in each $XDG_DATA_DIRS folder + /dreel.\n";
}

std::string VersionLine() { return std::string("Dreel ") + DREEL_VERSION; }
