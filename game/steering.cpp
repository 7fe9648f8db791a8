// STUB
#include "game/steering.h"
int32_t dist(Vec2, Vec2) { return 0; }
int32_t approachScore(Vec2) { return 0; }
void SteerEnemy() {}
