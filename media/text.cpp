// STUB
#include "media/text.h"
static DrawTarget g_target;
void DrawingInit() {}
DrawTarget* ScreenDrawTarget() { return &g_target; }
void* DrawBegin(DrawTarget*) { return nullptr; }
void TextDraw(const char*) {}
void DrawEnd() {}
