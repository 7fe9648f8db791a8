// Stains, smoke and damage flashes, and the drawing of the player.
#pragma once

#include <cstdint>

void StampStains();  // phase 4
void UpdateSmoke();  // phase 10
void DrawPlayer();   // phase 12

// The shield picture and alpha a damage flash is drawn with, by its life after the
// frame's decrement: young flashes bright (slot 12), old ones faint (slot 6).
int32_t FlashSlot(int32_t life);
int32_t FlashAlpha(int32_t life);
