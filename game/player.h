// Player control: thrust, speed limit, borders, friction, move, turn, firing.
#pragma once

// Phase 5 while playerDamage < 100.
void UpdatePlayer();
