// Sound: WAVE files in numbered slots, converted once at load, played from the start
// on request and mixed together by our own mixer in SDL's audio callback.
// Depends on SDL2 audio.
#pragma once

#include <cstdint>

int32_t SoundInit();
int32_t SoundLoad(int32_t slot, const char* file);
void SoundPlay(int32_t slot);
void SoundEnd();

// --- beyond the game's operations: for tests and benchmarks ---

// The output format every sound is converted to at load: interleaved signed 16-bit
// stereo at 44100 Hz, mixed in buffers of 512 frames (11.6 ms), so a sound starts
// at most one buffer after the frame that asks for it.
inline constexpr int32_t kSoundRate = 44100;
inline constexpr int32_t kSoundChannels = 2;
inline constexpr int32_t kSoundBufferFrames = 512;
// Slots 0..kSoundMaxSlot can be loaded; the table starts with room for 50.
inline constexpr int32_t kSoundInitialSlots = 50;
inline constexpr int32_t kSoundMaxSlot = 1023;

// The volume in percent (0 to 100, 100 by default) and the mute: an integer gain of
// percent x 256 / 100 on the mixed sum before it saturates; at 100 the output is exactly
// the sum's. Kept across SoundEnd and SoundInit.
inline constexpr int32_t kSoundFullGain = 256;
void SoundSetVolume(int32_t percent, bool muted);
// Pauses the device (silence; the voices keep their places) or lets it play again.
void SoundPause(bool paused);

// Length of the slot's sound in output frames; 0 for an empty slot.
int32_t SoundFrames(int32_t slot);

// Called on the audio thread with every mixed buffer (interleaved stereo frames) after
// all voices were added. Null removes it. SoundEnd removes it too.
using SoundMixObserver = void (*)(void* user, const int16_t* frames, int32_t frameCount);
void SoundSetMixObserver(SoundMixObserver observer, void* user);
