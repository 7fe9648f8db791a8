// One overview picture of all generated pictures, for people to judge the art: every
// sprite enlarged with nearest-pixel scaling, the background halved, and a small scene
// composed the way the game draws it (stains black, smoke added, shield translucent).
#pragma once

#include <vector>

#include "tools/datagen/canvas.h"
#include "tools/datagen/data_set.h"

Image MakeContactSheet(const std::vector<NamedPicture>& pictures);
