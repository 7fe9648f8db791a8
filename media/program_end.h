// The orderly shutdown at program end: every multimedia facility in a fixed order.
// Depends on every other media/ module; nothing in media/ depends on it.
#pragma once

// Windows, rotated sprites, sound, mouse, keyboard, display; each is a no-op for a
// facility that never started. The caller then ends the process.
void ProgramEnd();
