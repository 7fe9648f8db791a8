// Where the game's data files are found. The game names them bare ("Background.bmp");
// a bare name is looked for in the current folder first, then in the data folders that
// belong to the executable (found from its own location, so a moved build or install
// still works), then in each $XDG_DATA_DIRS entry + "/dreel". --data replaces the list.
// Limits: names with a folder part are used as given; the list is fixed at start-up.
// Depends on SDL2 (SDL_GetBasePath), byte_reader.h and runtime/paths.h (UTF-8 names).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/byte_reader.h"

struct DataSearchInputs {
    std::string executableFolder;              // empty when unknown
    std::vector<std::string> relativeFolders;  // from the executable's folder to data folders
    std::optional<std::string> xdgDataDirs;    // nullopt when unset
    std::optional<std::string> overrideFolder; // --data
    bool xdg = true;                           // the XDG folders too (not on Windows)
};

// The folders to search, in order; "." is the current folder.
std::vector<std::string> DataSearchFolders(const DataSearchInputs& inputs);
// The path of `name` in `folder` ("." gives the bare name).
std::string DataPathIn(const std::string& folder, const std::string& name);
// The first candidate path of `name` that `usable` accepts, or none.
std::optional<std::string> FindDataFile(const std::vector<std::string>& folders, const std::string& name,
                                        const std::function<bool(const std::string&)>& usable);

// The inputs of this process: SDL's base path, the folders fixed when it was built,
// the environment.
DataSearchInputs DataSearchInputsOfProcess(std::optional<std::string> overrideFolder);

// The folders the loaders search; until set, only the current folder. The reset also
// stops the digest.
void DataSearchSet(std::vector<std::string> folders);
void DataSearchReset();

// From now on the digest (runtime/digest.h) takes in the name and the bytes of every
// data file read, in the order read: two games that read the same files have the same
// digest. Recordings keep it; without a start it stays kDigestStart.
void DataDigestStart();
uint64_t DataReadDigest();

// Reads a data file by name through the search list. A file found nowhere is one line
// on standard error naming it, the folders and why any candidate was refused.
std::optional<FileBytes> ReadDataFile(const char* name);
