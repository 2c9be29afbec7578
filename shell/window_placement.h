// Where the scenes' windows lie: one arrangement on every screen, the inventory just above the
// place, the conversation over the shop, whether the screen is wide, tall or of the size the
// game was laid out on.
#pragma once

#include <vector>

#include "scenes/model/description.h"
#include "scenes/model/geometry.h"
#include "shell/platform/platform.h"

namespace orval {

// The client area of the scene's window on the screen (logical pixels): a fixed place measured
// from the arrangement's corner, any other scene centred in it; then moved just enough to lie on
// the usable screen, so that on 800 x 600 the inventory's last slots stay within reach and a
// window larger than the screen starts at its upper-left corner.
Rect placeWindow(const SceneDescription& scene, const Rect& arrangement, const Rect& usable);

// The windows the game will open, as the platform needs them to settle the display scale.
WindowPlan windowPlan(const std::vector<const SceneDescription*>& scenes);

}  // namespace orval
