// STUB
#include "game/effects.h"
void StampStains() {}
void UpdateSmoke() {}
void DrawPlayer() {}
