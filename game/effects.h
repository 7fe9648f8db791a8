// Stains, smoke and damage flashes, and the drawing of the player.
#pragma once

void StampStains();  // phase 4
void UpdateSmoke();  // phase 10
void DrawPlayer();   // phase 12
