// Sound slots and the mixer that plays them. Each slot holds its sound converted once
// at load to the output format (signed 16-bit stereo at 44100 Hz) and one voice: a
// play position and a playing flag. SDL's audio callback adds every playing voice in
// 32 bits and saturates the sum to 16 bits, so loud overlaps clip instead of wrapping.
//
// Why our own mixer rather than a mixing library: the game needs nothing but "start
// this buffer from 0 and add it to the others", and a mixing library drags dozens of
// decoder and sound-server libraries into every start of the program. Only our own
// WAVE reader decides which files load.
//
// Threads: the voices and the slot table change only while the game thread holds the
// audio device lock, and SDL holds the same lock around every callback, so the two
// threads never see a half-made change and a voice never reads a freed buffer. The
// lock is held for a few assignments; conversion and freeing happen outside it.
// With 512-frame buffers a play request is picked up by the next buffer, within 11.6 ms.
//
// Limits: slots 0..kSoundMaxSlot; a sound's conversion may take up to 128 MiB.
// Depends on SDL2 audio, media/byte_reader.h and media/wave_reader.h.
#include "media/sound.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "media/data_files.h"
#include "media/wave_reader.h"

namespace {

constexpr int32_t kOutputFrameBytes = kSoundChannels * 2;
// Working memory of one conversion: over 40 s of sound even at the highest rates, far
// beyond any effect, and a hostile size field can never ask for more.
constexpr uint64_t kMaxWorkBytes = uint64_t{1} << 27;

struct SoundSlot {
    std::vector<int16_t> pcm;  // interleaved output frames; empty for an empty slot
    int32_t position = 0;      // next frame to mix
    bool playing = false;
};

struct SoundContext {
    bool open = false;
    SDL_AudioDeviceID device = 0;
    std::vector<SoundSlot> slots;  // resized only under the device lock
    SoundMixObserver observer = nullptr;
    void* observerUser = nullptr;
    bool paused = false;            // the device is paused: it plays silence, voices wait
};

SoundContext g_sound;
// The volume's gain (of 256) on the sum before it saturates: a setting of the process,
// kept when the device closes; changed under the device lock while it is open.
int32_t g_gain = kSoundFullGain;

// Holds the audio device lock: the callback is not running and will not start.
class AudioLock {
public:
    explicit AudioLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device_); }
    ~AudioLock() { SDL_UnlockAudioDevice(device_); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;

private:
    SDL_AudioDeviceID device_;
};

int32_t FrameCount(const SoundSlot& slot) { return static_cast<int32_t>(slot.pcm.size() / kSoundChannels); }

// Adds `count` frames of every playing voice into `sum`, moving the voices on; a voice
// that reaches its end stops.
void AddVoices(std::vector<SoundSlot>& slots, int32_t* sum, int32_t count) {
    for (SoundSlot& voice : slots) {
        if (!voice.playing) continue;
        const int32_t take = std::min(count, FrameCount(voice) - voice.position);
        const int16_t* from = voice.pcm.data() + static_cast<size_t>(voice.position) * kSoundChannels;
        for (int32_t i = 0; i < take * kSoundChannels; ++i) sum[i] += from[i];
        voice.position += take;
        if (voice.position >= FrameCount(voice)) voice.playing = false;
    }
}

// SDL's audio thread, with the device lock held.
void SDLCALL MixCallback(void* user, Uint8* stream, int length) {
    auto& sound = *static_cast<SoundContext*>(user);
    auto* out = reinterpret_cast<int16_t*>(stream);
    const int32_t frames = length / kOutputFrameBytes;
    std::array<int32_t, static_cast<size_t>(kSoundBufferFrames * kSoundChannels)> sum;
    for (int32_t done = 0; done < frames;) {
        const int32_t count = std::min(frames - done, kSoundBufferFrames);
        std::fill_n(sum.begin(), count * kSoundChannels, 0);
        AddVoices(sound.slots, sum.data(), count);
        int16_t* to = out + static_cast<size_t>(done) * kSoundChannels;
        // Full gain skips the product: the output is then exactly the plain sum's.
        if (g_gain != kSoundFullGain)
            for (int32_t i = 0; i < count * kSoundChannels; ++i)
                sum[static_cast<size_t>(i)] =
                    static_cast<int32_t>(int64_t{sum[static_cast<size_t>(i)]} * g_gain / kSoundFullGain);
        for (int32_t i = 0; i < count * kSoundChannels; ++i)
            to[i] = static_cast<int16_t>(std::clamp(sum[static_cast<size_t>(i)], -32768, 32767));
        done += count;
    }
    // A partial frame never comes with a 16-bit stereo device; silence it all the same.
    std::memset(stream + frames * kOutputFrameBytes, 0, static_cast<size_t>(length - frames * kOutputFrameBytes));
    if (sound.observer) sound.observer(sound.observerUser, out, frames);
}

// The file's samples as interleaved output frames, or empty when they cannot be
// converted. SDL_AudioCVT rather than SDL_AudioStream: the stream's flush drops the
// last few hundred frames of a resampled sound with this SDL; the one-shot conversion
// gives every frame.
std::vector<int16_t> ConvertToOutput(const WaveResult& wave) {
    const SDL_AudioFormat from = wave.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(wave.channels), wave.sampleRate, AUDIO_S16SYS,
                          kSoundChannels, kSoundRate) < 0)
        return {};
    // Already in the output format (our own data is): one copy, no conversion buffer.
    if (!cvt.needed) {
        std::vector<int16_t> pcm(wave.samples.size() / kOutputFrameBytes * kSoundChannels);
        std::memcpy(pcm.data(), wave.samples.data(), pcm.size() * sizeof(int16_t));
        return pcm;
    }
    // The conversion works in place in a buffer len_mult times the input.
    const uint64_t work = static_cast<uint64_t>(wave.samples.size()) * static_cast<uint64_t>(cvt.len_mult);
    if (work > kMaxWorkBytes) return {};
    std::vector<int16_t> buffer(static_cast<size_t>((work + 1) / 2));
    if (!wave.samples.empty()) std::memcpy(buffer.data(), wave.samples.data(), wave.samples.size());
    cvt.buf = reinterpret_cast<Uint8*>(buffer.data());
    cvt.len = static_cast<int>(wave.samples.size());
    if (SDL_ConvertAudio(&cvt) != 0) return {};
    buffer.resize(static_cast<size_t>(cvt.len_cvt / kOutputFrameBytes) * kSoundChannels);
    buffer.shrink_to_fit();
    return buffer;
}

}  // namespace

int32_t SoundInit() {
    if (g_sound.open) return 1;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    g_sound.slots.assign(kSoundInitialSlots, SoundSlot{});
    // The exact output format, no changes allowed: SDL adapts it to the device if it
    // must, and our samples are converted to it once at load.
    SDL_AudioSpec want{};
    want.freq = kSoundRate;
    want.format = AUDIO_S16SYS;
    want.channels = kSoundChannels;
    want.samples = kSoundBufferFrames;
    want.callback = MixCallback;
    want.userdata = &g_sound;
    g_sound.device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (g_sound.device == 0) {
        g_sound = SoundContext{};
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    g_sound.open = true;
    SDL_PauseAudioDevice(g_sound.device, 0);
    return 1;
}

int32_t SoundLoad(int32_t slot, const char* file) {
    if (!g_sound.open || slot < 0 || slot > kSoundMaxSlot || !file) return 0;
    auto bytes = ReadDataFile(file);
    if (!bytes) return 0;
    const WaveResult wave = ReadWave(*bytes);
    if (!wave.ok) return 0;
    std::vector<int16_t> pcm = ConvertToOutput(wave);
    if (pcm.empty()) return 0;
    // Only now does the old sound go: a failed load leaves the slot as it was. A voice
    // playing the old sound stops with it; the old buffer is freed after the unlock.
    {
        AudioLock lock(g_sound.device);
        const auto index = static_cast<size_t>(slot);
        if (index >= g_sound.slots.size()) g_sound.slots.resize(index + 10);
        SoundSlot& target = g_sound.slots[index];
        target.pcm.swap(pcm);
        target.position = 0;
        target.playing = false;
    }
    return 1;
}

void SoundPlay(int32_t slot) {
    if (!g_sound.open || slot < 0 || static_cast<size_t>(slot) >= g_sound.slots.size()) return;
    SoundSlot& voice = g_sound.slots[static_cast<size_t>(slot)];
    // Only this thread writes the buffers, so it may look without the lock.
    if (voice.pcm.empty()) return;
    // Stop, rewind and start in one step: a restart cuts the previous play with no
    // buffer of silence in between.
    AudioLock lock(g_sound.device);
    voice.position = 0;
    voice.playing = true;
}

void SoundSetVolume(int32_t percent, bool muted) {
    const int32_t gain = muted ? 0 : std::clamp(percent, 0, 100) * kSoundFullGain / 100;
    if (!g_sound.open) return void(g_gain = gain);
    AudioLock lock(g_sound.device);
    g_gain = gain;
}

void SoundPause(bool paused) {
    if (!g_sound.open || g_sound.paused == paused) return;
    SDL_PauseAudioDevice(g_sound.device, paused ? 1 : 0);
    g_sound.paused = paused;
}

void SoundEnd() {
    // Closing waits for the audio thread to finish, so nothing mixes while the buffers go.
    if (g_sound.open) {
        SDL_CloseAudioDevice(g_sound.device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_sound = SoundContext{};
}

int32_t SoundFrames(int32_t slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= g_sound.slots.size()) return 0;
    return FrameCount(g_sound.slots[static_cast<size_t>(slot)]);
}

void SoundSetMixObserver(SoundMixObserver observer, void* user) {
    if (!g_sound.open) return;
    AudioLock lock(g_sound.device);
    g_sound.observer = observer;
    g_sound.observerUser = user;
}
