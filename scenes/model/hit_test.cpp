#include "scenes/model/hit_test.h"

#include <algorithm>

namespace orval {
namespace {

bool takesMouse(ControlKind kind) {
    return kind != ControlKind::Timer && kind != ControlKind::Shape;
}

// Searches the children of `parent` front to back; `clip` is the parent's visible area.
int hitChildren(const SceneDescription& scene, const SceneFlags& flags, int parent,
                const Rect& clip, int originX, int originY, int x, int y) {
    for (std::size_t i = 0; i < scene.controls.size(); ++i) {
        const ControlDescription& c = scene.controls[i];
        if (c.parent != parent || !takesMouse(c.kind) || !flags[i].visible) continue;
        const Rect area =
            intersect({originX + c.rect.x, originY + c.rect.y, c.rect.w, c.rect.h}, clip);
        if (!area.contains(x, y)) continue;
        const int index = static_cast<int>(i);
        if (c.kind == ControlKind::PictureBox) {
            // A picture box's children lie in front of the box itself.
            const int child = hitChildren(scene, flags, index, area, originX + c.rect.x,
                                          originY + c.rect.y, x, y);
            if (child != kNoControl) return child;
        }
        if (flags[i].enabled) return index;
    }
    return kNoControl;
}

}  // namespace

int hitTest(const SceneDescription& scene, const SceneFlags& flags, int x, int y) {
    const Rect window{0, 0, scene.clientWidth, scene.clientHeight};
    return hitChildren(scene, flags, -1, window, 0, 0, x, y);
}

Rect absoluteRect(const SceneDescription& scene, int control) {
    Rect rect = scene.controls[static_cast<std::size_t>(control)].rect;
    for (int p = scene.controls[static_cast<std::size_t>(control)].parent; p >= 0;
         p = scene.controls[static_cast<std::size_t>(p)].parent) {
        rect.x += scene.controls[static_cast<std::size_t>(p)].rect.x;
        rect.y += scene.controls[static_cast<std::size_t>(p)].rect.y;
    }
    return rect;
}

Rect visibleRect(const SceneDescription& scene, int control) {
    Rect rect = absoluteRect(scene, control);
    for (int p = scene.controls[static_cast<std::size_t>(control)].parent; p >= 0;
         p = scene.controls[static_cast<std::size_t>(p)].parent)
        rect = intersect(rect, absoluteRect(scene, p));
    return intersect(rect, {0, 0, scene.clientWidth, scene.clientHeight});
}

}  // namespace orval
