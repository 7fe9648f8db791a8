// The game's command line: what it asks for, and the words it answers with. Parsing only;
// main acts on the result. Depends on the standard library only.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CommandAction { Play, Help, Version, Fail };

struct CommandLine {
    CommandAction action = CommandAction::Play;
    std::optional<std::string> dataFolder;  // --data DIR
    bool fullscreen = false;                // --fullscreen; --window undoes it
    int scale = 1;                          // --scale N: the window N times as large
    bool integerScale = false;              // --scale-mode integer; fill (false) by default
    std::optional<std::string> recordPath;  // --record FILE: write a recording of the game
    std::optional<std::string> tracePath;   // --trace FILE: write the state of every frame
    std::optional<std::string> playPath;    // --play FILE: watch a recording
    std::string error;                      // why it failed, for "dreel: <error>"
};

// The arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
// Why the files named cannot be used together: an output (--record, --trace) that is the
// same file as the input (--play) or as the other output would destroy it or mix two
// streams. Same path, or the same file where both exist. Empty when they can be used.
std::string FileOptionsClash(const CommandLine& line);
// The usage text, several lines ending in a newline.
const char* UsageText();
// "Dreel <version>".
std::string VersionLine();
