// The display scale k: how many screen pixels, across and down, one logical pixel of the game
// takes. Chosen once at start from the player's and the desktop's settings, then lowered until
// the game's windows fit the screen. Only the platforms use it: above them all is logical.
#pragma once

#include <optional>
#include <string>

#include "scenes/model/geometry.h"
#include "shell/platform/platform.h"

namespace orval {

inline constexpr int kLargestScale = 4;

// The settings that ask for a scale, each as found, or nothing when unset.
struct ScaleSettings {
    std::optional<std::string> orvalScale;  // the ORVAL_SCALE variable: the player's own choice
    std::optional<std::string> xftDpi;      // the X resource Xft.dpi: 96 is 1x, 192 is 2x
    std::optional<std::string> gdkScale;    // the GDK_SCALE variable
};

struct ScaleChoice {
    int scale = 1;
    std::string error;  // why ORVAL_SCALE could not be followed, or empty
};

// The scale asked for: ORVAL_SCALE (empty counts as unset), else Xft.dpi / 96 rounded, else
// GDK_SCALE, else 1; at most kLargestScale. An ORVAL_SCALE that is not a whole number from 1 to
// 4 gives 1 and an error.
ScaleChoice requestedScale(const ScaleSettings& settings);
// The plan's windows all together, in logical pixels of the arrangement: the fixed ones and,
// in its middle, the widest and tallest of the centred ones.
Rect planHull(const WindowPlan& plan);
// Whether the plan's windows fit the usable area (screen pixels) together at `scale`, each
// beside the others as in the arrangement.
bool fitsTogether(int scale, const Rect& usable, const WindowPlan& plan);
// The largest scale up to `requested` at which every window of `plan` fits the usable area
// (screen pixels); 1 when none does.
int fittingScale(int requested, const Rect& usable, const WindowPlan& plan);
// Where the arrangement lies on the usable area (both in logical pixels): centred, then moved
// just enough for the plan's windows to lie on it; across or down where they cannot, they are
// cut evenly at both ends.
Rect arrange(const Rect& usable, const WindowPlan& plan);

// The whole logical pixels that lie in a screen area.
Rect logicalArea(const Rect& screenArea, int scale);
// Where a window lies on the screen, in screen pixels: k times its size at k times its position
// (so a window placed beside another in logical pixels stays exactly beside it), moved just
// enough to lie on the usable area.
Rect placeOnScreen(const WindowRequest& request, const Rect& usable, int scale);
// The logical pixel a screen pixel of a window belongs to (negative ones too, as a pointer
// dragged out of the window gives).
inline int toLogical(int screenPixel, int scale) {
    return static_cast<int>(floorDivision(screenPixel, scale));
}

}  // namespace orval
