// The game's windows as a window manager stacks them: where each lies, which lies in front,
// which window a point belongs to and which holds the keys. The headless twin and the stage
// share it; it knows rectangles only, in whatever pixels its user places them.
#pragma once

#include <optional>
#include <vector>

#include "scenes/model/geometry.h"
#include "shell/platform/platform.h"

namespace orval {

class WindowStack {
  public:
    struct Window {
        WindowId id = 0;
        WindowKind kind = WindowKind::Scene;
        Rect place;
        bool visible = false;
    };
    // A new window, hidden, behind every other.
    void add(WindowId id, WindowKind kind, const Rect& place);
    void remove(WindowId id);
    // The window lies elsewhere now, where it was in the stack.
    void move(WindowId id, const Rect& place);
    // Shows the window and brings it to the front of its layer: boxes and subtitles float
    // above every scene, as the desktop keeps them on top.
    void raise(WindowId id);

    const Window* find(WindowId id) const;
    // The visible windows, front first.
    std::vector<WindowId> frontToBack() const;
    // The visible window that lies in front at the point, with the point in its own pixels.
    std::optional<WindowPoint> at(int x, int y) const;
    // The window the keys go to: the front-most visible one that takes the focus (the subtitles
    // never do).
    std::optional<WindowId> focused() const;
    // The visible scene window that lies furthest back: the one a player who cycles through the
    // game's windows brings forward next.
    std::optional<WindowId> rearmostScene() const;
    // The visible windows that cover part of `area`, back first: what drawing it again takes.
    std::vector<const Window*> backToFrontIn(const Rect& area) const;

  private:
    static bool floats(WindowKind kind) { return kind != WindowKind::Scene; }

    std::vector<Window> windows_;  // front first
};

}  // namespace orval
