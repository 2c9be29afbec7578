#include "shell/platform/window_stack.h"

#include <algorithm>

namespace orval {

void WindowStack::add(WindowId id, WindowKind kind, const Rect& place) {
    windows_.push_back({id, kind, place, false});
}

void WindowStack::remove(WindowId id) {
    std::erase_if(windows_, [&](const Window& w) { return w.id == id; });
}

void WindowStack::move(WindowId id, const Rect& place) {
    for (Window& w : windows_)
        if (w.id == id) w.place = place;
}

void WindowStack::raise(WindowId id) {
    const auto it =
        std::find_if(windows_.begin(), windows_.end(), [&](const Window& w) { return w.id == id; });
    if (it == windows_.end()) return;
    Window window = *it;
    window.visible = true;
    windows_.erase(it);
    // In front of its own layer: a scene goes behind every floating window.
    const auto front = floats(window.kind)
                           ? windows_.begin()
                           : std::find_if(windows_.begin(), windows_.end(),
                                          [](const Window& w) { return !floats(w.kind); });
    windows_.insert(front, window);
}

const WindowStack::Window* WindowStack::find(WindowId id) const {
    for (const Window& w : windows_)
        if (w.id == id) return &w;
    return nullptr;
}

std::vector<WindowId> WindowStack::frontToBack() const {
    std::vector<WindowId> ids;
    for (const Window& w : windows_)
        if (w.visible) ids.push_back(w.id);
    return ids;
}

std::optional<WindowPoint> WindowStack::at(int x, int y) const {
    for (const Window& w : windows_)
        if (w.visible && w.place.contains(x, y))
            return WindowPoint{w.id, {x - w.place.x, y - w.place.y}};
    return std::nullopt;
}

std::optional<WindowId> WindowStack::focused() const {
    for (const Window& w : windows_)
        if (w.visible && w.kind != WindowKind::Subtitles) return w.id;
    return std::nullopt;
}

std::optional<WindowId> WindowStack::rearmostScene() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (it->visible && it->kind == WindowKind::Scene) return it->id;
    return std::nullopt;
}

std::vector<const WindowStack::Window*> WindowStack::backToFrontIn(const Rect& area) const {
    std::vector<const Window*> covering;
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (it->visible && overlaps(it->place, area)) covering.push_back(&*it);
    return covering;
}

}  // namespace orval
