// STUB
#include "game/enemies.h"
void SpawnEnemy() {}
void UpdateEnemies() {}
void CheckRestart() {}
