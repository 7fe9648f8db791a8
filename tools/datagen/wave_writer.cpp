#include "tools/datagen/wave_writer.h"

#include "tools/datagen/dmath.h"

namespace {

void PutLe(std::vector<uint8_t>* out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>* out, const char tag[4]) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(tag[i]));
}

int16_t ToSample(double v) {
    const double scaled = dmath::Clamp(v, -1.0, 1.0) * 32767.0;
    return static_cast<int16_t>(dmath::Floor(scaled + 0.5));
}

}  // namespace

std::vector<uint8_t> EncodeWave(const SoundBuffer& sound) {
    const uint32_t channels = static_cast<uint32_t>(sound.channels.size());
    const uint32_t frames = channels ? static_cast<uint32_t>(sound.channels[0].size()) : 0;
    const uint32_t blockAlign = channels * 2;
    const uint32_t dataBytes = frames * blockAlign;

    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(&out, "RIFF");
    PutLe(&out, 36 + dataBytes, 4);
    PutTag(&out, "WAVE");
    PutTag(&out, "fmt ");
    PutLe(&out, 16, 4);
    PutLe(&out, 1, 2);  // PCM
    PutLe(&out, channels, 2);
    PutLe(&out, static_cast<uint32_t>(sound.sampleRate), 4);
    PutLe(&out, static_cast<uint32_t>(sound.sampleRate) * blockAlign, 4);
    PutLe(&out, blockAlign, 2);
    PutLe(&out, 16, 2);
    PutTag(&out, "data");
    PutLe(&out, dataBytes, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        for (uint32_t c = 0; c < channels; ++c) PutLe(&out, static_cast<uint16_t>(ToSample(sound.channels[c][i])), 2);
    }
    return out;
}
