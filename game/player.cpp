// STUB
#include "game/player.h"
void UpdatePlayer() {}
