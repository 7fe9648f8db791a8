// STUB
#include "media/input.h"
static InputFrame g_frame;
int32_t KeyboardInit() { return 1; }
int32_t KeyboardExamine() { return 1; }
int32_t KeyDown(int32_t key) { if (key == -1) { for (int i = 0; i < 255; ++i) if (g_frame.keys[i]) return 1; return 0; } return (key >= 0 && key < 256 && g_frame.keys[key]) ? 128 : 0; }
int32_t MouseInit() { return 1; }
int32_t MouseExamine() { return 1; }
int32_t MouseStateX() { return g_frame.dx; }
int32_t MouseStateY() { return g_frame.dy; }
int32_t MouseStateWheel() { return g_frame.wheel; }
int32_t MouseStateButton(int32_t b) { return (b >= 1 && b <= 3) ? (g_frame.buttons[b - 1] ? 1 : 0) : 0; }
void MouseRelease(int32_t) {}
void KeyboardEnd() {}
void MouseEnd() {}
void InputSetScripted(bool) {}
void InputSetFrame(const InputFrame& f) { g_frame = f; }
int32_t ScanCodeFromSdl(int32_t) { return 0; }
