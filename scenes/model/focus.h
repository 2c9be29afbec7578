// What the keyboard's focus mark can stand on, and where it goes next: the hotspots of a scene
// in reading order, and the nearest one in the direction of an arrow key.
#pragma once

#include <optional>
#include <vector>

#include "scenes/model/description.h"
#include "scenes/model/geometry.h"
#include "scenes/model/state.h"

namespace orval {

// A hotspot the mark can stand on: a control the mouse reaches that does something when clicked
// or touched.
struct FocusTarget {
    int control = -1;
    Rect area;    // its visible area in window pixels
    Point point;  // where the pointer goes for it: a pixel where the mouse finds this control
};

// A pixel of the control's visible area where the mouse finds this very control (its centre
// when nothing covers it there, else the free pixel nearest the centre), or none when the
// control is covered everywhere or hidden.
std::optional<Point> reachablePoint(const SceneDescription& scene, const SceneFlags& flags,
                                    int control);

// Every hotspot of the scene as its flags are now, in reading order: rows from the top, each
// row from the left. A hotspot belongs to the row of the topmost hotspot whose height spans its
// middle, so the things standing in a room read from left to right.
std::vector<FocusTarget> focusTargets(const SceneDescription& scene, const SceneFlags& flags);

enum class Direction { Left, Right, Up, Down };

// Of the points, the index of the nearest one that lies in the direction from `from`, a point
// straight ahead counting nearer than one as far off to the side; none when no point lies
// that way.
std::optional<std::size_t> nearestInDirection(const std::vector<Point>& points, Point from,
                                              Direction direction);

}  // namespace orval
