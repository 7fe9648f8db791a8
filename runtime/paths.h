// File names as the programs keep them: UTF-8 strings on every platform, whether they
// come from the command line, from SDL or from the data search. Elsewhere they are used
// as they are; on Windows the C library's narrow calls read a name in the ANSI code page
// and mingw-w64's std::filesystem reads a std::string in the C locale, so there every
// crossing goes through UTF-16 and the wide calls. A name that is not valid UTF-8 gets
// U+FFFD in place of the bad bytes on Windows. Depends on the C++ library and, on
// Windows, on kernel32 and shell32.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

std::filesystem::path PathOfUtf8(const std::string& utf8);
std::string Utf8OfPath(const std::filesystem::path& path);

// std::fopen of a UTF-8 name.
std::FILE* OpenFile(const std::string& utf8, const char* mode);

// The program's command line, its name first, in UTF-8: on Windows from the wide
// command line (main's argv has only what the ANSI code page can spell), elsewhere argv.
std::vector<std::string> ProgramArguments(int argc, char** argv);
