// Reading the generated data folder back for the data tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::filesystem::path DataPath(const std::string& name) { return std::filesystem::path(DREEL_DATA_DIR) / name; }

inline std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The 22 files the game opens by name.
inline const std::vector<std::string>& GameDataNames() {
    static const std::vector<std::string> names = {
        "Background.bmp", "kugeln.bmp", "shoot.bmp",  "rauch.bmp",  "Fleck.bmp",  "kanone2.bmp",
        "Shild1.bmp",     "Shild2.bmp", "Shild3.bmp", "Shild4.bmp", "Shild5.bmp", "Shild6.bmp",
        "Shild7.bmp",     "Shotl.wav",  "Shotr.wav",  "flash.wav",  "bigex.wav",  "Ex1.wav",
        "Ex2.wav",        "Ex3.wav",    "Ex4.wav",    "Ex5.wav"};
    return names;
}
