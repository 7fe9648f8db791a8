#include "test_support.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace support {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    static std::atomic<int> counter{0};
    return (fs::temp_directory_path() /
            ("dreel_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + "_" + name))
        .string();
}

TempFolder::TempFolder() : path(TempPath("folder")) { fs::create_directories(path); }

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

bool WriteBytes(const std::string& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool WriteText(const std::string& path, const std::string& text) {
    return WriteBytes(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, int bitsPerPixel,
                                 const std::vector<uint32_t>& palette,
                                 const std::function<uint32_t(int32_t, int32_t)>& value) {
    const size_t stride = (static_cast<size_t>(width) * bitsPerPixel / 8 + 3) / 4 * 4;
    const size_t dataOffset = 54 + 4 * palette.size();
    std::vector<uint8_t> b(dataOffset + stride * static_cast<size_t>(height), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = static_cast<uint8_t>(bitsPerPixel);
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, static_cast<uint32_t>(dataOffset));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put32(34, static_cast<uint32_t>(stride * static_cast<size_t>(height)));
    for (size_t i = 0; i < palette.size(); ++i) put32(54 + 4 * i, palette[i] & 0xFFFFFFu);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = b.data() + dataOffset + stride * static_cast<size_t>(height - 1 - y) +
                         static_cast<size_t>(x) * bitsPerPixel / 8;
            const uint32_t v = value(x, y);
            p[0] = static_cast<uint8_t>(v);
            if (bitsPerPixel == 24) p[1] = static_cast<uint8_t>(v >> 8), p[2] = static_cast<uint8_t>(v >> 16);
        }
    return b;
}

std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, const std::vector<uint32_t>& rgb) {
    return BitmapBytes(width, height, 24, {}, [&](int32_t x, int32_t y) {
        return rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    });
}

std::string WriteBitmap(int32_t width, int32_t height, const std::vector<uint32_t>& rgb) {
    std::string path = TempPath("picture.bmp");
    WriteBytes(path, BitmapBytes(width, height, rgb));
    return path;
}

const std::vector<std::string>& GameDataNames() {
    static const std::vector<std::string> names = {
        "Background.bmp", "kugeln.bmp", "shoot.bmp",  "rauch.bmp",  "Fleck.bmp",  "kanone2.bmp",
        "Shild1.bmp",     "Shild2.bmp", "Shild3.bmp", "Shild4.bmp", "Shild5.bmp", "Shild6.bmp",
        "Shild7.bmp",     "Shotl.wav",  "Shotr.wav",  "flash.wav",  "bigex.wav",  "Ex1.wav",
        "Ex2.wav",        "Ex3.wav",    "Ex4.wav",    "Ex5.wav"};
    return names;
}

std::string DataDir() { return DREEL_DATA_DIR; }
std::string DataPath(const std::string& name) { return (fs::path(DREEL_DATA_DIR) / name).string(); }

void UseDummyDrivers() {
    for (const char* name : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}) {
#ifdef _WIN32
        if (!std::getenv(name)) _putenv_s(name, "dummy");
#else
        setenv(name, "dummy", 0);
#endif
    }
}

}  // namespace support
