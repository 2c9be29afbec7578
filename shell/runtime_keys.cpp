// What the player asks with the keys and a controller's buttons, as the binding table reads
// them: T, Space, M, H and L for the whole game, the card, and the focus mark that Tab,
// Shift+Tab, the arrow keys and Enter (or the d-pad and Start) work with.
#include "shell/runtime.h"

namespace orval {

bool Runtime::stageKey(const InputEvent& event) {
    const std::optional<Action> action = actionOf(event);
    if (action == Action::ToggleFullscreen)
        platform_.toggleFullscreen();
    else if (action == Action::NextWindow)
        platform_.nextWindow();
    else
        return false;
    return true;
}

void Runtime::act(Action action, const std::string& scene) {
    switch (action) {
        case Action::Activate:
            if (!clickMark()) pressCommandButton(scene);
            return;
        case Action::SkipLine:
            // Space presses the button as Enter does; where there is none it ends the line, its
            // sound and its words together.
            if (pressCommandButton(scene)) return;
            platform_.stopSound();
            subtitles_.stop();
            return;
        case Action::ToggleSubtitles:
            subtitles_.turn(!subtitles_.on());
            choicesChanged();
            return;
        case Action::ToggleSound:
            muted_ = !muted_;
            if (muted_) platform_.stopSound();
            // The inventory shows whether the sound is off.
            if (!roles_.inventory.empty() && isShown(roles_.inventory)) redraw(roles_.inventory);
            choicesChanged();
            return;
        case Action::ShowHotspots:
            hotspotsMarked_ = !hotspotsMarked_;
            for (auto& [name, e] : scenes_)
                if (e.state && e.state->visible) e.state->dirty = true;
            showSwitches();
            return;
        case Action::ShowControls:
            showControls();
            return;
        case Action::ToggleNames:
            namesShown_ = !namesShown_;
            if (named_) redraw(named_->scene);
            choicesChanged();
            return;
        case Action::Start:
            pressStart();
            return;
        case Action::OpenNotebook:
            openNotebook();
            return;
        case Action::AskHint:
            askHint();
            return;
        case Action::ToggleSpeech:
            speech_ = !speech_;
            platform_.speakAnnouncements(speech_);
            choicesChanged();
            return;
        case Action::NextHotspot:
        case Action::PreviousHotspot:
        case Action::Left:
        case Action::Right:
        case Action::Up:
        case Action::Down:
            stepFocus(action);
            return;
        case Action::Cancel:            // only a box has something to close
        case Action::ToggleFullscreen:  // the platform's, before any window hears of them
        case Action::NextWindow:
            return;
    }
}

PlayerChoices Runtime::choices() const {
    return {languages_.code(), subtitles_.on(), !muted_, namesShown_, speech_};
}

void Runtime::choicesChanged() {
    if (choicesChanged_) choicesChanged_(choices());
    showSwitches();
}

void Runtime::showSwitches() {
    platform_.showSwitches({.subtitles = subtitles_.on(),
                            .sound = !muted_,
                            .names = namesShown_,
                            .hotspots = hotspotsMarked_});
}

std::optional<FocusMark::Scene> Runtime::markable(const std::string& scene) const {
    const auto it = scenes_.find(scene);
    if (it == scenes_.end() || !it->second.state || !it->second.state->visible) return std::nullopt;
    const LoadedScene& s = *it->second.state;
    return FocusMark::Scene{it->first, it->second.description, s.flags, s.placed};
}

void Runtime::stepFocus(Action step) {
    const std::optional<std::string> front = frontPlace();
    if (!front) return;
    const std::optional<FocusMark::Scene> place = markable(*front);
    const std::optional<FocusMark::Scene> inventory = markable(roles_.inventory);
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
    if (*front != roles_.menu) {
        pressCommandButton(*front);
        return;
    }
    if (const std::optional<FocusMark::Spot> first = FocusMark::first(*markable(*front))) {
        pointAt(*first);
        clickMark();
    }
}

}  // namespace orval
