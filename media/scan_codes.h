// SDL scancodes to the PC scan codes of set 1 that the keyboard reports (see
// scan_codes.cpp). Depends on nothing of ours.
#pragma once

#include <cstdint>

// The scan code for an SDL scancode (0 for keys without one).
int32_t ScanCodeFromSdl(int32_t sdlScancode);
