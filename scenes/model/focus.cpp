#include "scenes/model/focus.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "scenes/model/hit_test.h"

namespace orval {

std::optional<Point> reachablePoint(const SceneDescription& scene, const SceneFlags& flags,
                                    int control) {
    const Rect area = visibleRect(scene, control);
    if (area.w <= 0 || area.h <= 0) return std::nullopt;
    const Point centre{area.x + area.w / 2, area.y + area.h / 2};
    if (hitTest(scene, flags, centre.x, centre.y) == control) return centre;
    // A grid is enough: no hotspot is smaller than a few of its steps.
    constexpr int kStep = 4;
    std::optional<Point> best;
    long bestDistance = std::numeric_limits<long>::max();
    for (int y = area.y; y < area.y + area.h; y += kStep)
        for (int x = area.x; x < area.x + area.w; x += kStep) {
            const long dx = x - centre.x, dy = y - centre.y;
            if (dx * dx + dy * dy >= bestDistance || hitTest(scene, flags, x, y) != control)
                continue;
            best = Point{x, y};
            bestDistance = dx * dx + dy * dy;
        }
    return best;
}

std::vector<FocusTarget> focusTargets(const SceneDescription& scene, const SceneFlags& flags) {
    std::vector<FocusTarget> found;
    for (std::size_t i = 0; i < scene.controls.size(); ++i) {
        const ControlDescription& c = scene.controls[i];
        if (!doesSomething(c) || !flags[i].visible || !flags[i].enabled) continue;
        const int control = static_cast<int>(i);
        if (const std::optional<Point> point = reachablePoint(scene, flags, control))
            found.push_back({control, visibleRect(scene, control), *point});
    }
    // A hotspot whose middle another one covers is part of that one for the player (the menu's
    // entries lie over their pictures, which take a click on an edge column).
    std::vector<int> covering;
    for (const FocusTarget& t : found)
        covering.push_back(hitTest(scene, flags, t.area.x + t.area.w / 2, t.area.y + t.area.h / 2));
    std::vector<FocusTarget> kept;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const bool covered = covering[i] != found[i].control &&
                             std::any_of(found.begin(), found.end(), [&](const FocusTarget& o) {
                                 return o.control == covering[i];
                             });
        if (!covered) kept.push_back(found[i]);
    }
    found = std::move(kept);
    std::stable_sort(found.begin(), found.end(), [](const FocusTarget& a, const FocusTarget& b) {
        return a.area.y != b.area.y ? a.area.y < b.area.y : a.area.x < b.area.x;
    });
    std::vector<FocusTarget> ordered;
    std::vector<bool> placed(found.size(), false);
    for (std::size_t lead = 0; lead < found.size(); ++lead) {
        if (placed[lead]) continue;
        const Rect& row = found[lead].area;
        const std::size_t start = ordered.size();
        for (std::size_t i = lead; i < found.size(); ++i) {
            const int middle = found[i].area.y + found[i].area.h / 2;
            if (placed[i] || (i != lead && (middle < row.y || middle >= row.y + row.h))) continue;
            placed[i] = true;
            ordered.push_back(found[i]);
        }
        std::stable_sort(
            ordered.begin() + static_cast<std::ptrdiff_t>(start), ordered.end(),
            [](const FocusTarget& a, const FocusTarget& b) { return a.area.x < b.area.x; });
    }
    return ordered;
}

std::optional<std::size_t> nearestInDirection(const std::vector<Point>& points, Point from,
                                              Direction direction) {
    std::optional<std::size_t> best;
    long bestScore = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const long dx = points[i].x - from.x, dy = points[i].y - from.y;
        const bool across = direction == Direction::Left || direction == Direction::Right;
        const long ahead = direction == Direction::Left    ? -dx
                           : direction == Direction::Right ? dx
                           : direction == Direction::Up    ? -dy
                                                           : dy;
        if (ahead <= 0) continue;
        // A step to the side counts twice: the mark goes to what lies ahead, not what lies near.
        const long score = ahead + 2 * std::labs(across ? dy : dx);
        if (score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace orval
