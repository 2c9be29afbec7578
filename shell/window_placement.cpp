#include "shell/window_placement.h"

#include <algorithm>

namespace orval {

Rect placeWindow(const SceneDescription& scene, const Rect& arrangement, const Rect& usable) {
    Rect placed{0, 0, scene.clientWidth, scene.clientHeight};
    if (scene.placement == Placement::Manual) {
        placed.x = arrangement.x + scene.clientLeft;
        placed.y = arrangement.y + scene.clientTop;
    } else {
        placed.x = arrangement.x + (arrangement.w - placed.w) / 2;
        placed.y = arrangement.y + (arrangement.h - placed.h) / 2;
    }
    return movedOnto(placed, usable);
}

WindowPlan windowPlan(const std::vector<const SceneDescription*>& scenes) {
    WindowPlan plan;
    for (const SceneDescription* d : scenes) {
        plan.widest = std::max(plan.widest, d->clientWidth);
        plan.tallest = std::max(plan.tallest, d->clientHeight);
        if (d->placement == Placement::Manual)
            plan.fixed.push_back({d->clientLeft, d->clientTop, d->clientWidth, d->clientHeight});
    }
    return plan;
}

}  // namespace orval
