#include "runtime/user_folders.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "runtime/paths.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

bool UnixAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// C:\..., C:/... or \\server\share\...
bool WindowsAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                       (path[2] == '\\' || path[2] == '/');
    return drive || path.starts_with("\\\\");
}

// `base` without its trailing separators, then `rest`: no doubled separator.
std::string Under(std::string base, const char* rest) {
    while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
    if (base == "/") base.clear();
    return base + rest;
}

std::string XdgFolder(const std::string& variable, const std::string& home, const char* fromHome) {
    if (UnixAbsolute(variable)) return Under(variable, "/dreel/");
    if (UnixAbsolute(home)) return Under(home, fromHome);
    return "";
}

}  // namespace

UserFolders UserFoldersOf(FolderRule rule, const UserEnvironment& environment) {
    switch (rule) {
        case FolderRule::Web:
            return {"/dreel-store/", "/dreel-store/"};
        case FolderRule::Windows: {
            if (!WindowsAbsolute(environment.appData)) return {};
            const std::string folder = Under(environment.appData, "\\Dreel\\");
            return {folder, folder};
        }
        case FolderRule::Xdg:
            break;
    }
    return {XdgFolder(environment.configHome, environment.home, "/.config/dreel/"),
            XdgFolder(environment.stateHome, environment.home, "/.local/state/dreel/")};
}

FolderRule PlatformFolderRule() {
#if defined(_WIN32)
    return FolderRule::Windows;
#elif defined(__EMSCRIPTEN__)
    return FolderRule::Web;
#else
    return FolderRule::Xdg;
#endif
}

UserEnvironment ProcessEnvironment() {
    UserEnvironment environment;
#ifdef _WIN32
    // The narrow getenv would give the name in the ANSI code page.
    if (const wchar_t* appData = _wgetenv(L"APPDATA")) environment.appData = Utf8OfPath(std::filesystem::path(appData));
#else
    const auto read = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    environment.home = read("HOME");
    environment.configHome = read("XDG_CONFIG_HOME");
    environment.stateHome = read("XDG_STATE_HOME");
#endif
    return environment;
}

std::string UserFilePath(const std::string& folder, const char* name) { return folder.empty() ? "" : folder + name; }

std::string CreateUserFolder(const std::string& folder) {
    if (folder.empty()) return "no folder to create";
#ifdef _WIN32
    std::error_code error;
    std::filesystem::create_directories(PathOfUtf8(folder), error);
    if (error) return "cannot create the folder " + folder + ": " + error.message();
    return "";
#else
    // Each missing component is made 0700, as the XDG rule asks of a folder it creates.
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        struct stat info{};
        if (::stat(part.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) return "cannot create the folder " + part + ": a file has its name";
        } else if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return "cannot create the folder " + part + ": " + std::strerror(errno);
        }
        if (end == std::string::npos || end + 1 >= folder.size()) return "";
    }
#endif
}
