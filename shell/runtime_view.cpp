#include "shell/runtime_view.h"

#include <stdexcept>

#include "shell/runtime.h"

namespace orval {

bool RuntimeView::isLoaded(std::string_view scene) const { return runtime_.isLoaded(scene); }

bool RuntimeView::isShown(std::string_view scene) const { return runtime_.isShown(scene); }

std::optional<WindowId> RuntimeView::windowOf(std::string_view scene) const {
    const Runtime::Entry& e = runtime_.entry(scene);
    if (!e.state) return std::nullopt;
    return e.state->window;
}

std::optional<std::string> RuntimeView::sceneOfWindow(WindowId window) const {
    return runtime_.sceneOfWindow(window);
}

const SceneDescription& RuntimeView::description(std::string_view scene) const {
    return runtime_.entry(scene).description;
}

SceneFlags RuntimeView::flags(std::string_view scene) const {
    const Runtime::Entry& e = runtime_.entry(scene);
    if (!e.state) throw std::logic_error(std::string(scene) + " is not loaded");
    SceneFlags flags = e.state->flags;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (e.description.controls[i].kind == ControlKind::Timer)
            flags[i].enabled = runtime_.timers_.ticking({e.order, static_cast<int>(i)});
    return flags;
}

bool RuntimeView::peekVisible(std::string_view scene, std::string_view control) const {
    const Runtime::Entry& e = runtime_.entry(scene);
    return flags(scene)[static_cast<std::size_t>(runtime_.controlIndex(e, control))].visible;
}

bool RuntimeView::peekEnabled(std::string_view scene, std::string_view control) const {
    const Runtime::Entry& e = runtime_.entry(scene);
    return flags(scene)[static_cast<std::size_t>(runtime_.controlIndex(e, control))].enabled;
}

bool RuntimeView::finished() const { return runtime_.finished_; }

int RuntimeView::exitStatus() const { return runtime_.exitStatus_; }

bool RuntimeView::askedToEnd() const { return runtime_.askedToEnd_; }

const std::string& RuntimeView::fatalMessage() const { return runtime_.fatalMessage_; }

const MessageBoxWindow* RuntimeView::openBox() const {
    return runtime_.box_ ? &*runtime_.box_ : nullptr;
}

const NotebookWindow* RuntimeView::notebook() const {
    return runtime_.notebook_ ? &*runtime_.notebook_ : nullptr;
}

StepSearch RuntimeView::nextStep() const { return runtime_.nextStep(); }

StepSearch RuntimeView::searchedNextStep() const { return runtime_.searchNextStep(); }

std::optional<StepSearch> RuntimeView::tabledNextStep(const NextStepTable& table) const {
    return runtime_.tabledNextStep(table);
}

bool RuntimeView::hasNextStepTable() const { return runtime_.nextSteps_.has_value(); }

std::string RuntimeView::descriptionsFingerprint() const {
    std::vector<const SceneDescription*> scenes;
    std::vector<SceneNow> now;
    runtime_.stateNow(scenes, now);
    return orval::descriptionsFingerprint(scenes);
}

std::string RuntimeView::nextStepsFile() const { return runtime_.nextStepsFile(); }

const std::optional<FocusMark::Spot>& RuntimeView::focusMark() const {
    return runtime_.focus_.spot();
}

std::optional<SubtitleTrack::Shown> RuntimeView::subtitleShown() const {
    return runtime_.subtitles_.shown();
}

const std::string& RuntimeView::language() const { return runtime_.languages_.code(); }

const std::vector<std::string>& RuntimeView::languages() const {
    return runtime_.languages_.codes();
}

std::optional<RuntimeView::DrawnName> RuntimeView::nameLine() const { return runtime_.drawnName_; }

std::optional<std::string> RuntimeView::named() const {
    if (!runtime_.named_) return std::nullopt;
    return runtime_.entry(runtime_.named_->scene)
        .description.controls[static_cast<std::size_t>(runtime_.named_->control)]
        .name;
}

}  // namespace orval
