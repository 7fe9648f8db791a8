// Sound slots on SDL2_mixer: one mixer channel per slot, each slot's samples converted
// once at load to the output format and handed to the mixer as a raw chunk whose
// buffer this module keeps. Only our own WAVE reader decides which files load; the
// mixer never parses a file.
//
// Why SDL2_mixer serves as it is: it adds voices with SDL_MixAudioFormat, which
// saturates instead of wrapping; every call that touches a channel takes the audio
// device lock, so the game thread and the audio thread never race; and with 512-frame
// buffers a play request is picked up by the next buffer, within 11.6 ms.
// Limits: slots 0..kSoundMaxSlot; a sound's conversion may take up to 128 MiB.
// Depends on SDL2 audio, SDL2_mixer, media/byte_reader.h and media/wave_reader.h.
#include "media/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "media/byte_reader.h"
#include "media/wave_reader.h"

namespace {

constexpr int32_t kOutputFrameBytes = kSoundChannels * 2;
// Working memory of one conversion: over 40 s of sound even at the highest rates, far
// beyond any effect, and a hostile size field can never ask for more.
constexpr uint64_t kMaxWorkBytes = uint64_t{1} << 27;

struct SoundSlot {
    std::vector<uint8_t> pcm;  // output format; the chunk points into it
    Mix_Chunk* chunk = nullptr;
};

struct MixObserver {
    SoundMixObserver function = nullptr;
    void* user = nullptr;
};

struct SoundContext {
    bool open = false;
    std::vector<SoundSlot> slots;
    MixObserver observer;
};

SoundContext g_sound;

void SDLCALL PostMix(void* arg, Uint8* stream, int length) {
    const auto* observer = static_cast<const MixObserver*>(arg);
    observer->function(observer->user, reinterpret_cast<const int16_t*>(stream),
                       length / kOutputFrameBytes);
}

void FreeSlot(int32_t index) {
    SoundSlot& slot = g_sound.slots[static_cast<size_t>(index)];
    if (!slot.chunk) return;
    // Halting takes the audio lock, so the mixer has let go of the buffer before it goes.
    Mix_HaltChannel(index);
    Mix_FreeChunk(slot.chunk);
    slot = SoundSlot{};
}

// Grows the table (and the mixer's channels with it) to slot + 10 entries.
bool EnsureSlot(int32_t slot) {
    if (static_cast<size_t>(slot) < g_sound.slots.size()) return true;
    const int32_t count = slot + 10;
    if (Mix_AllocateChannels(count) < count) return false;
    g_sound.slots.resize(static_cast<size_t>(count));
    return true;
}

// The file's samples in the output format, or empty when they cannot be converted.
// SDL_AudioCVT rather than SDL_AudioStream: the stream's flush drops the last few
// hundred frames of a resampled sound with this SDL; the one-shot conversion gives
// every frame.
std::vector<uint8_t> ConvertToOutput(const WaveResult& wave) {
    const SDL_AudioFormat from = wave.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(wave.channels), wave.sampleRate, AUDIO_S16SYS,
                          kSoundChannels, kSoundRate) < 0)
        return {};
    // The conversion works in place in a buffer len_mult times the input.
    const uint64_t work = static_cast<uint64_t>(wave.samples.size()) * static_cast<uint64_t>(cvt.len_mult);
    if (work > kMaxWorkBytes) return {};
    std::vector<uint8_t> buffer(static_cast<size_t>(work));
    std::copy(wave.samples.begin(), wave.samples.end(), buffer.begin());
    cvt.buf = buffer.data();
    cvt.len = static_cast<int>(wave.samples.size());
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return {};
    const int length = cvt.needed ? cvt.len_cvt : cvt.len;
    buffer.resize(static_cast<size_t>(length - length % kOutputFrameBytes));
    buffer.shrink_to_fit();
    return buffer;
}

}  // namespace

int32_t SoundInit() {
    if (g_sound.open) return 1;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    // The exact output format, no changes allowed: the device (or SDL in front of it)
    // adapts, and our samples are converted to this once at load.
    if (Mix_OpenAudioDevice(kSoundRate, AUDIO_S16SYS, kSoundChannels, kSoundBufferFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    if (Mix_AllocateChannels(kSoundInitialSlots) < kSoundInitialSlots) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    g_sound.slots.assign(kSoundInitialSlots, SoundSlot{});
    g_sound.open = true;
    return 1;
}

int32_t SoundLoad(int32_t slot, const char* file) {
    if (!g_sound.open || slot < 0 || slot > kSoundMaxSlot || !file) return 0;
    auto bytes = ReadWholeFile(file);
    if (!bytes) return 0;
    const WaveResult wave = ReadWave(*bytes);
    if (!wave.ok) return 0;
    std::vector<uint8_t> pcm = ConvertToOutput(wave);
    if (pcm.empty()) return 0;
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(pcm.data(), static_cast<Uint32>(pcm.size()));
    if (!chunk) return 0;
    if (!EnsureSlot(slot)) {
        Mix_FreeChunk(chunk);
        return 0;
    }
    // Only now does the old sound go: a failed load leaves the slot as it was.
    FreeSlot(slot);
    // Moving the vector keeps its heap block, which the chunk points into.
    g_sound.slots[static_cast<size_t>(slot)] = SoundSlot{std::move(pcm), chunk};
    return 1;
}

void SoundPlay(int32_t slot) {
    if (!g_sound.open || slot < 0 || static_cast<size_t>(slot) >= g_sound.slots.size()) return;
    Mix_Chunk* chunk = g_sound.slots[static_cast<size_t>(slot)].chunk;
    if (!chunk) return;
    // Starting a busy channel replaces its voice under the audio lock in one step, so
    // a restart cuts the previous play with no buffer of silence in between.
    Mix_PlayChannel(slot, chunk, 0);
}

void SoundEnd() {
    if (g_sound.open) {
        Mix_SetPostMix(nullptr, nullptr);
        for (size_t i = 0; i < g_sound.slots.size(); ++i) FreeSlot(static_cast<int32_t>(i));
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_sound = SoundContext{};
}

int32_t SoundFrames(int32_t slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= g_sound.slots.size()) return 0;
    return static_cast<int32_t>(g_sound.slots[static_cast<size_t>(slot)].pcm.size() / kOutputFrameBytes);
}

void SoundSetMixObserver(SoundMixObserver observer, void* user) {
    if (!g_sound.open) return;
    // Unhook first: Mix_SetPostMix waits for the audio lock, so no mix is reading the
    // observer while it changes.
    Mix_SetPostMix(nullptr, nullptr);
    g_sound.observer = MixObserver{observer, user};
    if (observer) Mix_SetPostMix(PostMix, &g_sound.observer);
}
