// Shots and hits: respawn of destroyed enemies, the shot pass with its hits and
// removal, and the player's death.
#pragma once

void RespawnEnemies();    // phase 7
void UpdateShots();       // phase 8
void CheckPlayerDeath();  // phase 9
