// The RIFF WAVE reader: uncompressed PCM, 8 or 16 bit, mono or stereo, 8000..192000 Hz.
// Takes untrusted bytes: walks chunks up to "data" with bounds on count and size.
// "fmt " must be the first chunk; any chunks between it and "data" are skipped.
// A data chunk that claims more than the file holds is cut to the file and to whole
// sample frames. Depends only on media/byte_reader.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>

struct WaveResult {
    bool ok = false;
    std::string error;
    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t bitsPerSample = 0;
    // Whole sample frames, as in the file: a view into the bytes read, valid while they are.
    std::span<const uint8_t> samples;
};

// A file with more chunks than this before "data" is refused rather than walked.
inline constexpr int32_t kWaveMaxChunks = 1024;
inline constexpr int32_t kWaveMinRate = 8000;
inline constexpr int32_t kWaveMaxRate = 192000;

WaveResult ReadWave(std::span<const uint8_t> file);
