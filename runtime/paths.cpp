#include "runtime/paths.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

namespace {

std::wstring Wide(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

}  // namespace

std::filesystem::path PathOfUtf8(const std::string& utf8) { return std::filesystem::path(Wide(utf8)); }
std::string Utf8OfPath(const std::filesystem::path& path) { return Utf8(path.native()); }

std::FILE* OpenFile(const std::string& utf8, const char* mode) {
    return _wfopen(Wide(utf8).c_str(), Wide(mode).c_str());
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

#else

std::filesystem::path PathOfUtf8(const std::string& utf8) { return std::filesystem::path(utf8); }
std::string Utf8OfPath(const std::filesystem::path& path) { return path.string(); }
std::FILE* OpenFile(const std::string& utf8, const char* mode) { return std::fopen(utf8.c_str(), mode); }
std::vector<std::string> ProgramArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

#endif
