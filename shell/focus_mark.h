// The keyboard's focus mark: the hotspot it stands on, where Tab, Shift+Tab and the arrow keys
// take it (through the front place's hotspots, then the inventory's filled slots), and when the
// mouse takes over again. The runtime moves the pointer to the mark and draws its ring.
#pragma once

#include <optional>
#include <string>

#include "scenes/model/description.h"
#include "scenes/model/focus.h"
#include "scenes/model/state.h"
#include "shell/bindings.h"
#include "shell/platform/platform.h"

namespace orval {

class FocusMark {
  public:
    // A scene on the screen as the mark sees it.
    struct Scene {
        const std::string& name;
        const SceneDescription& description;
        const SceneFlags& flags;
        Rect placed;  // its window on the screen
    };
    // A pixel of a scene's window.
    struct Spot {
        std::string scene;
        Point point;
        friend bool operator==(const Spot&, const Spot&) = default;
    };

    // Where the step (NextHotspot, PreviousHotspot or a direction) takes the mark from where it
    // stands (from the pointer when it stands nowhere): among the hotspots of the place in front,
    // then the inventory's. None: the step leads nowhere, and the mark stays.
    std::optional<Spot> step(Action step, const Scene& front,
                             const std::optional<Scene>& inventory) const;
    // The first hotspot of the scene, where Start acts on the main menu.
    static std::optional<Spot> first(const Scene& scene);

    // The mark and the pointer now stand on the spot of a window placed at `placed`.
    void standOn(const Spot& spot, const Rect& placed);
    // The pointer is at a pixel of a window placed at `placed`. Returns the scene whose mark
    // this takes away: the player moved the mouse (the pointer put on the mark moves nothing).
    std::optional<std::string> pointerAt(const Rect& placed, Point point);
    // The mark goes (its scene closed, or another place came to the front); returns its scene.
    std::optional<std::string> drop();

    const std::optional<Spot>& spot() const { return spot_; }
    // The area of the hotspot under the mark, when the mark stands in this scene on one.
    std::optional<Rect> ringIn(const Scene& scene) const;

  private:
    std::optional<Spot> spot_;
    Point markedAt_;                // where the mark put the pointer, on the screen
    std::optional<Point> pointer_;  // on the screen, once known
};

}  // namespace orval
