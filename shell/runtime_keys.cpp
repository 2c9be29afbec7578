// The runtime's keys: T, Space, M and H for the whole game, and the focus mark that Tab,
// Shift+Tab, the arrow keys and Enter (or a controller's d-pad, A and Start) work with.
#include "shell/runtime.h"

namespace orval {

void Runtime::handleKey(char key) {
    switch (key) {
        case ' ':  // enough of this line: its sound and its words end together
            platform_.stopSound();
            subtitles_.stop();
            return;
        case 't':
            subtitles_.turn(!subtitles_.on());
            choicesChanged();
            return;
        case 'm':
            muted_ = !muted_;
            if (muted_) platform_.stopSound();
            if (isShown(kInventory)) redraw(std::string(kInventory));  // its speaker mark
            choicesChanged();
            return;
        case 'h':
            hotspotsMarked_ = !hotspotsMarked_;
            for (auto& [name, e] : scenes_)
                if (e.state && e.state->visible) e.state->dirty = true;
            return;
        default:
            return;
    }
}

PlayerChoices Runtime::choices() const { return {languageCode_, subtitles_.on(), !muted_}; }

void Runtime::choicesChanged() {
    if (choicesChanged_) choicesChanged_(choices());
}

std::optional<FocusMark::Scene> Runtime::markable(const std::string& scene) const {
    const auto it = scenes_.find(scene);
    if (it == scenes_.end() || !it->second.state || !it->second.state->visible) return std::nullopt;
    const LoadedScene& s = *it->second.state;
    return FocusMark::Scene{it->first, it->second.description, s.flags, s.placed};
}

void Runtime::stepFocus(FocusStep step) {
    const std::optional<std::string> front = frontPlace();
    if (!front) return;
    const std::optional<FocusMark::Scene> place = markable(*front);
    const std::optional<FocusMark::Scene> inventory = markable(std::string(kInventory));
    if (const std::optional<FocusMark::Spot> spot = focus_.step(step, *place, inventory))
        pointAt(*spot);
}

void Runtime::pointAt(const FocusMark::Spot& spot) {
    const LoadedScene& s = *entry(spot.scene).state;
    if (const std::optional<std::string> before = focus_.drop()) redraw(*before);
    focus_.standOn(spot, s.placed);
    redraw(spot.scene);
    platform_.movePointer(s.window, spot.point.x, spot.point.y);
    // The cursor shows what the hotspot does, and what reacts to the pointer (the menu's
    // highlights) reacts to the mark: the pointer leaves what it was on as a hand would, over
    // the window's ground, so that one entry alone is lit.
    const auto& ground = entry(spot.scene).description.handlers;
    if (const auto it = ground.find(EventKind::MouseMove); it != ground.end())
        callHandler(spot.scene, it->second);
    hover(spot.scene, spot.point.x, spot.point.y);
}

bool Runtime::clickMark() {
    if (!focus_.spot()) return false;
    const FocusMark::Spot spot = *focus_.spot();
    const WindowId window = entry(spot.scene).state->window;
    handleInput({InputEvent::Type::MouseDown, window, spot.point.x, spot.point.y});
    handleInput({InputEvent::Type::MouseUp, window, spot.point.x, spot.point.y});
    return true;
}

void Runtime::pressStart() {
    const std::optional<std::string> front = frontPlace();
    if (!front) return;
    if (*front != menu_) {
        pressCommandButton(*front);
        return;
    }
    if (const std::optional<FocusMark::Spot> first = FocusMark::first(*markable(*front))) {
        pointAt(*first);
        clickMark();
    }
}

}  // namespace orval
