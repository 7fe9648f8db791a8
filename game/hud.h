// Sound requests and the heads-up text.
#pragma once

#include <string>

// Phase 14: plays every requested slot in ascending order and clears the requests.
void PlayRequestedSounds();
// Phase 11.
void DrawHeadsUpText();
// "damage kills/shots", e.g. "5 2/7".
std::string BuildHeadsUpText();
