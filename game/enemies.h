// Enemies: spawning at the edges, the per-frame enemy pass, and the restart check.
#pragma once

// Places the current element of enemyList at a random edge with a new kind.
void SpawnEnemy();
// Phase 6: steering, limits, borders, friction, blocking, contact, move, draw.
void UpdateEnemies();
// Phase 5 while the player is down: Space restarts the play.
void CheckRestart();
