// The RIFF WAVE reader: uncompressed PCM, 8 or 16 bit, mono or stereo, 8000..192000 Hz.
// Takes untrusted bytes: walks chunks up to "data" with bounds on count and size.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct WaveResult {
    bool ok = false;
    std::string error;
    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t bitsPerSample = 0;
    std::vector<uint8_t> samples;  // whole sample frames, as in the file
};

WaveResult ReadWave(std::span<const uint8_t> file);
