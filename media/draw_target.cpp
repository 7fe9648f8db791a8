// The drawing target shared by the screen and the drawing modules (see the header).
#include "media/draw_target.h"

namespace {

Picture* g_target = nullptr;  // the screen's back buffer; null: no screen open

}  // namespace

Picture* CurrentTarget() { return g_target; }

void SetCurrentTarget(Picture* target) { g_target = target; }
