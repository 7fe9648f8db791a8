// STUB
#include "game/hud.h"
void PlayRequestedSounds() {}
void DrawHeadsUpText() {}
std::string BuildHeadsUpText() { return {}; }
