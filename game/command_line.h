// The game's command line: what it asks for, and the words it answers with. Parsing only;
// main acts on the result. Depends on the standard library only.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CommandAction { Play, Help, Version, Stats, Fail };

struct CommandLine {
    CommandAction action = CommandAction::Play;
    std::optional<std::string> dataFolder;  // --data DIR
    // For this run only, over the settings; unset: as the settings say.
    std::optional<bool> fullscreen;         // --fullscreen; --window undoes it
    std::optional<int> scale;               // --scale N: the window N times as large
    std::optional<bool> integerScale;       // --scale-mode integer (true) or fill (false)
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
