// A finger on a touch screen. A tap cannot hover, so the first tap on a thing in a picture says
// what it is (the mark's ring and the name line) and a second one on it acts; what shows its
// own words acts at once. A tap beside a small thing reaches it within the finger's slop, and a
// finger held still shows every hotspot until it is lifted.
#include <limits>

#include "scenes/model/focus.h"
#include "scenes/model/hit_test.h"
#include "scenes/model/names.h"
#include "shell/runtime.h"

namespace orval {
namespace {

// How long a finger rests before the hotspots show.
constexpr std::uint64_t kHoldMs = 500;

// How far a point lies from an area (0 inside it), squared.
long distanceSquared(Point p, const Rect& area) {
    const long dx = p.x < area.x ? area.x - p.x : p.x >= area.x + area.w ? p.x - (area.x + area.w - 1) : 0;
    const long dy = p.y < area.y ? area.y - p.y : p.y >= area.y + area.h ? p.y - (area.y + area.h - 1) : 0;
    return dx * dx + dy * dy;
}

}  // namespace

void Runtime::touch(const std::string& scene, const InputEvent& event) {
    const Point at{event.x, event.y};
    switch (event.type) {
        case InputEvent::Type::TouchDown:
            finger_ = Finger{scene, at, event.reach, platform_.now() + kHoldMs};
            broughtForward(scene);  // a touch raises the window it lands in, as a click does
            return;
        case InputEvent::Type::TouchMove:
            if (finger_ && distanceSquared(at, {finger_->down.x, finger_->down.y, 1, 1}) >
                               static_cast<long>(finger_->reach) * finger_->reach)
                finger_->still = false;  // a finger that slides is no tap
            return;
        default: {
            if (!finger_) return;
            const Finger lifted = *finger_;
            finger_.reset();
            if (lifted.showing) {
                for (auto& [name, e] : scenes_)
                    if (e.state && e.state->visible) e.state->dirty = true;
                return;  // it only looked
            }
            if (lifted.still && lifted.scene == scene) tap(scene, at, lifted.reach);
            return;
        }
    }
}

void Runtime::tap(const std::string& scene, Point at, int reach) {
    // The finger came there as a pointer does, over the window's ground first: what lights up
    // under a pointer (the menu's entries) lights up under it.
    const auto& ground = entry(scene).description.handlers;
    if (const auto it = ground.find(EventKind::MouseMove); it != ground.end())
        callHandler(scene, it->second);
    if (!isLoaded(scene)) return;
    hover(scene, at.x, at.y);
    if (!isLoaded(scene)) return;
    const Entry& e = entry(scene);
    const SceneDescription& d = e.description;
    const auto meant = [&](int control) {
        return control != kNoControl &&
               doesSomething(d.controls[static_cast<std::size_t>(control)]);
    };
    int hit = hitTest(d, e.state->flags, at.x, at.y);
    Point where = at;
    if (!meant(hit)) {
        // Beside every thing: the nearest one within the finger's slop.
        long best = static_cast<long>(reach) * reach;
        hit = kNoControl;
        for (const FocusTarget& target : focusTargets(d, e.state->flags)) {
            const long distance = distanceSquared(at, target.area);
            if (distance > best || (distance == best && hit != kNoControl)) continue;
            best = distance;
            hit = target.control;
            where = target.point;
        }
    }
    if (!meant(hit)) {
        if (const std::optional<std::string> before = focus_.drop()) redraw(*before);
        forgetName();
        return;
    }
    const ControlDescription& c = d.controls[static_cast<std::size_t>(hit)];
    const std::optional<FocusMark::Spot>& spot = focus_.spot();
    const bool marked = spot && spot->scene == scene &&
                        hitTest(d, e.state->flags, spot->point.x, spot->point.y) == hit;
    if (showsOwnWords(c) || marked) {
        const WindowId window = e.state->window;
        handleInput({InputEvent::Type::MouseDown, window, where.x, where.y});
        handleInput({InputEvent::Type::MouseUp, window, where.x, where.y});
        return;
    }
    // The first tap says what it is, and does nothing else.
    if (const std::optional<std::string> before = focus_.drop()) redraw(*before);
    focus_.standOn({scene, where}, e.state->placed);
    redraw(scene);
    nameAt(scene, hit);
}

void Runtime::fingerHeld() {
    finger_->showing = true;
    for (auto& [name, e] : scenes_)
        if (e.state && e.state->visible) e.state->dirty = true;
}

}  // namespace orval
