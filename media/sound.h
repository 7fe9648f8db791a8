// Sound: WAVE files in numbered slots, converted once at load, played from the start
// on request and mixed together. Depends on SDL2 audio and SDL2_mixer.
#pragma once

#include <cstdint>

int32_t SoundInit();
int32_t SoundLoad(int32_t slot, const char* file);
void SoundPlay(int32_t slot);
void SoundEnd();
