#include "media/data_files.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "runtime/digest.h"
#include "runtime/format.h"
#include "runtime/paths.h"

#ifndef DREEL_DATA_RELATIVE_BUILD
#define DREEL_DATA_RELATIVE_BUILD "../data"
#endif
#ifndef DREEL_DATA_RELATIVE_INSTALL
#define DREEL_DATA_RELATIVE_INSTALL "../share/dreel"
#endif

namespace {

struct DataSearchContext {
    std::vector<std::string> folders{"."};  // searched in order; "." the current folder
    bool digesting = false;                  // only recordings need it: every byte costs start-up time
    uint64_t digest = kDigestStart;          // of every read since DataDigestStart
};
DataSearchContext g_search;

void AddToDigest(const void* bytes, size_t size) {
    if (g_search.digesting) g_search.digest = Digest(g_search.digest, bytes, size);
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

void AddOnce(std::vector<std::string>& folders, const std::string& folder) {
    for (const std::string& f : folders)
        if (f == folder) return;
    folders.push_back(folder);
}

}  // namespace

std::vector<std::string> DataSearchFolders(const DataSearchInputs& in) {
    if (in.overrideFolder) return {WithoutTrailingSlash(*in.overrideFolder)};
    std::vector<std::string> folders{"."};
    if (!in.executableFolder.empty()) {
        for (const std::string& relative : in.relativeFolders) {
            std::filesystem::path p = PathOfUtf8(in.executableFolder) / PathOfUtf8(relative);
            AddOnce(folders, WithoutTrailingSlash(Utf8OfPath(p.lexically_normal())));
        }
    }
    if (!in.xdg) return folders;
    // The XDG rules: unset or empty means the default, and relative entries are ignored.
    std::string xdg = in.xdgDataDirs.value_or("");
    if (xdg.empty()) xdg = "/usr/local/share:/usr/share";
    for (const std::string& entry : SplitList(xdg, ':'))
        if (!entry.empty() && entry.front() == '/') AddOnce(folders, WithoutTrailingSlash(entry) + "/dreel");
    return folders;
}

std::string DataPathIn(const std::string& folder, const std::string& name) {
    if (folder == ".") return name;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::optional<std::string> FindDataFile(const std::vector<std::string>& folders, const std::string& name,
                                        const std::function<bool(const std::string&)>& usable) {
    if (name.find('/') != std::string::npos) {
        if (usable(name)) return name;
        return std::nullopt;
    }
    for (const std::string& folder : folders) {
        std::string path = DataPathIn(folder, name);
        if (usable(path)) return path;
    }
    return std::nullopt;
}

DataSearchInputs DataSearchInputsOfProcess(std::optional<std::string> overrideFolder) {
    DataSearchInputs in;
    if (char* base = SDL_GetBasePath()) {
        in.executableFolder = base;
        SDL_free(base);
    }
    in.relativeFolders = {DREEL_DATA_RELATIVE_BUILD, DREEL_DATA_RELATIVE_INSTALL};
#ifdef _WIN32
    in.xdg = false;  // a Windows game keeps its data beside it
#else
    if (const char* xdg = std::getenv("XDG_DATA_DIRS")) in.xdgDataDirs = xdg;
#endif
    in.overrideFolder = std::move(overrideFolder);
    return in;
}

void DataSearchSet(std::vector<std::string> folders) { g_search.folders = std::move(folders); }
void DataSearchReset() { g_search = DataSearchContext{}; }
void DataDigestStart() { g_search.digesting = true, g_search.digest = kDigestStart; }
uint64_t DataReadDigest() { return g_search.digest; }

std::optional<FileBytes> ReadDataFile(const char* name) {
    std::optional<FileBytes> bytes;
    std::string refusals;
    const auto readable = [&](const std::string& path) {
        FileRead r = ReadWholeFile(path.c_str());
        if (r.bytes) {
            bytes = std::move(r.bytes);
            return true;
        }
        if (!r.missing) refusals += "; " + path + ": " + r.why;
        return false;
    };
    // The name with its terminating zero, then the bytes: a missing file changes it too.
    AddToDigest(name, std::strlen(name) + 1);
    if (FindDataFile(g_search.folders, name, readable)) {
        AddToDigest(bytes->data(), bytes->size());
        return bytes;
    }
    std::string folders;
    for (const std::string& f : g_search.folders) folders += (folders.empty() ? "" : ", ") + f;
    std::fprintf(stderr, "dreel: cannot find '%s' (looked in: %s%s)\n", name, folders.c_str(), refusals.c_str());
    return std::nullopt;
}
