// Where the game keeps what it writes for the player: the settings folder (settings.txt)
// and the state folder (records.txt). On Linux and other Unix, the XDG base directories:
// $XDG_CONFIG_HOME/dreel/ (else ~/.config/dreel/) and $XDG_STATE_HOME/dreel/ (else
// ~/.local/state/dreel/); an XDG variable that is empty or not an absolute path is
// ignored, and so is a HOME that is not. On Windows %APPDATA%\Dreel\ holds both; in the
// browser, /dreel-store/, where the page mounts its persistent store before the game
// starts. With no usable variable there is no folder, and the game goes on without
// saving. The folders are worked out from the variables given, so every case can be
// tested anywhere; one function reads this process's. Depends on the C++ library, POSIX
// or Windows' file calls, and runtime/paths.h.
#pragma once

#include <string>

inline constexpr char kSettingsFileName[] = "settings.txt";
inline constexpr char kRecordsFileName[] = "records.txt";

// Which platform's rule places the folders.
enum class FolderRule { Xdg, Windows, Web };

// The variables the rules read, as they are (UTF-8 on Windows); empty when unset.
struct UserEnvironment {
    std::string home;        // HOME
    std::string configHome;  // XDG_CONFIG_HOME
    std::string stateHome;   // XDG_STATE_HOME
    std::string appData;     // APPDATA (Windows)
};

struct UserFolders {
    std::string settings;  // the settings folder, ending with its separator; empty: none
    std::string state;     // the state folder (best results), likewise
};

UserFolders UserFoldersOf(FolderRule rule, const UserEnvironment& environment);
// The rule of the platform built for, and this process's variables.
FolderRule PlatformFolderRule();
UserEnvironment ProcessEnvironment();

// A file's full name in `folder` as UserFoldersOf gives it; empty when the folder is.
std::string UserFilePath(const std::string& folder, const char* name);

// Creates `folder` and any missing parent, each new one private to the user (0700 on
// Unix). Returns an empty text on success (also when it was there), else a one-line
// reason naming the folder.
std::string CreateUserFolder(const std::string& folder);
