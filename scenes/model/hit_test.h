// Which control of a scene receives the mouse at a point of its window.
#pragma once

#include "scenes/model/description.h"
#include "scenes/model/state.h"

namespace orval {

// The result when no control takes the point: the scene itself receives the event.
inline constexpr int kNoControl = -1;

// The front-most control that is visible (with every holding picture box), enabled and under
// the point (x, y in window pixels), clipped to its holders; timers and shapes never take the
// mouse. Returns its index in scene.controls, or kNoControl.
int hitTest(const SceneDescription& scene, const SceneFlags& flags, int x, int y);

// Where a control lies in window pixels, clipped to every picture box that holds it.
Rect absoluteRect(const SceneDescription& scene, int control);
Rect visibleRect(const SceneDescription& scene, int control);

}  // namespace orval
