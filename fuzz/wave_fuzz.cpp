// Feeds arbitrary bytes to the WAVE reader: it must fail cleanly or return whole
// sample frames of a supported PCM format.
#include <cstdint>
#include <cstdlib>

#include "media/wave_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WaveResult r = ReadWave({data, size});
    if (r.ok) {
        if (r.channels < 1 || r.channels > 2) std::abort();
        if (r.bitsPerSample != 8 && r.bitsPerSample != 16) std::abort();
        if (r.sampleRate < 8000 || r.sampleRate > 192000) std::abort();
        size_t frame = static_cast<size_t>(r.channels) * static_cast<size_t>(r.bitsPerSample / 8);
        if (r.samples.size() % frame != 0 || r.samples.size() > size) std::abort();
    }
    return 0;
}
