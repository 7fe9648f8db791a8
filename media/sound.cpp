// STUB
#include "media/sound.h"
int32_t SoundInit() { return 1; }
int32_t SoundLoad(int32_t, const char*) { return 0; }
void SoundPlay(int32_t) {}
void SoundEnd() {}
