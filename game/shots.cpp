// STUB
#include "game/shots.h"
void RespawnEnemies() {}
void UpdateShots() {}
void CheckPlayerDeath() {}
