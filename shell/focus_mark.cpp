#include "shell/focus_mark.h"

#include <cstdlib>
#include <vector>

#include "scenes/model/hit_test.h"

namespace orval {
namespace {

struct Candidate {
    FocusMark::Spot spot;
    int control = kNoControl;
    Point screen;  // the spot on the screen, where the arrow keys compare them
};

void addTargets(std::vector<Candidate>& candidates, const FocusMark::Scene& scene) {
    for (const FocusTarget& target : focusTargets(scene.description, scene.flags))
        candidates.push_back({{scene.name, target.point},
                              target.control,
                              {scene.placed.x + target.point.x, scene.placed.y + target.point.y}});
}

Direction directionOf(Action step) {
    switch (step) {
        case Action::Left:
            return Direction::Left;
        case Action::Right:
            return Direction::Right;
        case Action::Up:
            return Direction::Up;
        default:
            return Direction::Down;
    }
}

}  // namespace

std::optional<FocusMark::Spot> FocusMark::step(Action step, const Scene& front,
                                               const std::optional<Scene>& inventory) const {
    std::vector<Candidate> candidates;
    addTargets(candidates, front);
    if (inventory && inventory->name != front.name) addTargets(candidates, *inventory);
    if (candidates.empty()) return std::nullopt;

    // Where the mark stands, if in one of these scenes, and on which of their hotspots.
    const Scene* markedScene = nullptr;
    if (spot_ && spot_->scene == front.name) markedScene = &front;
    if (spot_ && inventory && spot_->scene == inventory->name) markedScene = &*inventory;
    std::optional<std::size_t> current;
    if (markedScene) {
        const int control =
            hitTest(markedScene->description, markedScene->flags, spot_->point.x, spot_->point.y);
        for (std::size_t i = 0; i < candidates.size(); ++i)
            if (candidates[i].spot.scene == markedScene->name && candidates[i].control == control)
                current = i;
    }

    const std::size_t count = candidates.size();
    if (step == Action::NextHotspot) return candidates[current ? (*current + 1) % count : 0].spot;
    if (step == Action::PreviousHotspot)
        return candidates[current ? (*current + count - 1) % count : count - 1].spot;

    Point from{front.placed.x + front.placed.w / 2, front.placed.y + front.placed.h / 2};
    if (markedScene)
        from = {markedScene->placed.x + spot_->point.x, markedScene->placed.y + spot_->point.y};
    else if (pointer_)
        from = *pointer_;
    std::vector<Point> points;
    for (const Candidate& c : candidates) points.push_back(c.screen);
    if (const auto nearest = nearestInDirection(points, from, directionOf(step)))
        return candidates[*nearest].spot;
    // The first arrow shows the mark even where nothing lies that way.
    if (!markedScene) return candidates.front().spot;
    return std::nullopt;
}

std::optional<FocusMark::Spot> FocusMark::first(const Scene& scene) {
    const std::vector<FocusTarget> targets = focusTargets(scene.description, scene.flags);
    if (targets.empty()) return std::nullopt;
    return Spot{scene.name, targets.front().point};
}

void FocusMark::standOn(const Spot& spot, const Rect& placed) {
    spot_ = spot;
    markedAt_ = Point{placed.x + spot.point.x, placed.y + spot.point.y};
    pointer_ = markedAt_;
}

std::optional<std::string> FocusMark::pointerAt(const Rect& placed, Point point) {
    const Point screen{placed.x + point.x, placed.y + point.y};
    // The pointer put on the mark reports its move back, maybe a pixel off where the stage is
    // shown scaled down: that is no move of the player's.
    constexpr int kSlack = 2;
    const bool onMark = spot_ && std::abs(screen.x - markedAt_.x) <= kSlack &&
                        std::abs(screen.y - markedAt_.y) <= kSlack;
    pointer_ = screen;
    return onMark ? std::nullopt : drop();
}

std::optional<std::string> FocusMark::drop() {
    if (!spot_) return std::nullopt;
    const std::string scene = spot_->scene;
    spot_.reset();
    return scene;
}

std::optional<Rect> FocusMark::ringIn(const Scene& scene) const {
    if (!spot_ || spot_->scene != scene.name) return std::nullopt;
    const int control = hitTest(scene.description, scene.flags, spot_->point.x, spot_->point.y);
    if (control == kNoControl) return std::nullopt;
    for (const FocusTarget& target : focusTargets(scene.description, scene.flags))
        if (target.control == control) return target.area;
    return std::nullopt;
}

}  // namespace orval
