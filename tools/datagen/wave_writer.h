// RIFF WAVE output for the generated sounds: 16-bit PCM, mono or stereo, written as
// "RIFF", "WAVE", a 16-byte "fmt " chunk and then "data" with nothing between.
#pragma once

#include <cstdint>
#include <vector>

struct SoundBuffer {
    int32_t sampleRate = 44100;
    // One entry per channel (one or two), all of the same length; values in -1..1.
    std::vector<std::vector<double>> channels;
};

// Samples are rounded to 16 bits and limited to +-32767.
std::vector<uint8_t> EncodeWave(const SoundBuffer& sound);
