// STUB
#include "media/window.h"
void WindowLibraryInit() {}
int32_t DisplayInit() { return 1; }
intptr_t WindowOpen(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, const char*) { return 1; }
intptr_t WindowHandle() { return 1; }
int32_t WindowPollEvent() { return 0; }
int32_t ScreenOpenInWindow(intptr_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { return 1; }
void ScreenFlip() {}
int32_t SetFrameRate(int32_t) { return 1; }
void ScreenClose() {}
void DisplayEnd() {}
void WindowsCloseAll() {}
Picture* ScreenBackBuffer() { return nullptr; }
Picture* CurrentTarget() { return nullptr; }
void ScreenSetPacing(bool) {}
bool WindowIsOpen() { return false; }
