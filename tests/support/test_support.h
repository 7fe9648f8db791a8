// What the suites share, once: unique temporary paths, whole files, bitmap files built in
// memory, child processes, the names of the game's data files and SDL's dummy drivers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace support {

// A fresh path in the test temporary folder, unique to this process and call (suites run
// side by side); `name` ends it, so extensions stay visible. Nothing is created.
std::string TempPath(const std::string& name);

// A folder of its own, removed with everything in it when the value goes.
struct TempFolder {
    std::filesystem::path path;
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// Whole files; reading a missing file gives an empty result.
std::vector<uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
bool WriteBytes(const std::string& path, std::span<const uint8_t> bytes);
bool WriteText(const std::string& path, const std::string& text);

// A Windows bitmap: 8 bits with `palette` (0xRRGGBB entries) or 24 bits, bottom-up rows
// padded to 4 bytes. value(x, y), y from the top, is a palette index or 0xRRGGBB.
std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, int bitsPerPixel,
                                 const std::vector<uint32_t>& palette,
                                 const std::function<uint32_t(int32_t, int32_t)>& value);
// A 24-bit bitmap of `rgb` (0xRRGGBB, row-major, top row first).
std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, const std::vector<uint32_t>& rgb);
// Writes a 24-bit bitmap of `rgb` to a fresh temporary path and returns the path.
std::string WriteBitmap(int32_t width, int32_t height, const std::vector<uint32_t>& rgb);

// A child process: argv[0] is a path; `env` entries NAME=VALUE are set over ours.
struct RunOptions {
    std::string stdinText;
    std::string cwd;                // empty: ours
    std::vector<std::string> env;
    int timeoutMs = 120000;         // then it is killed and timedOut is set
};
struct ProcessResult {
    int exitCode = -1;              // 128 + signal when killed by one
    bool timedOut = false;
    std::string out, err;
};
ProcessResult RunProcess(const std::vector<std::string>& argv, const RunOptions& options = {});

// The 22 files the game opens by bare name: 13 pictures, then 9 sounds.
const std::vector<std::string>& GameDataNames();
// The build's generated data folder, and a file in it.
std::string DataDir();
std::string DataPath(const std::string& name);

// SDL's dummy video and audio drivers unless the caller chose others.
void UseDummyDrivers();

}  // namespace support
