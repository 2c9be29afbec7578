// The notebook (N) and the hints (F2): what was said in this game, newest first, and the next
// step found from the player's own flags, one step of its hint more at each asking. Asking
// changes nothing in the game.
#include <algorithm>
#include <stdexcept>

#include "scenes/model/data_file.h"

#include "shell/runtime.h"

namespace orval {

void Runtime::stateNow(std::vector<const SceneDescription*>& scenes,
                       std::vector<SceneNow>& now) const {
    for (const std::string& name : order_) {
        const Entry& e = entry(name);
        scenes.push_back(&e.description);
        SceneNow& scene = now.emplace_back();
        if (!e.state) continue;
        scene.loaded = true;
        scene.shown = e.state->visible;
        scene.flags = e.state->flags;
    }
}

StepSearch Runtime::searchNextStep() const {
    std::vector<const SceneDescription*> scenes;
    std::vector<SceneNow> now;
    stateNow(scenes, now);
    return orval::searchNextStep(scenes, handlers_, roles_.won, now);
}

std::optional<StepSearch> Runtime::tabledNextStep(const NextStepTable& table) const {
    std::vector<const SceneDescription*> scenes;
    std::vector<SceneNow> now;
    stateNow(scenes, now);
    return lookUpNextStep(table, scenes, handlers_, now);
}

StepSearch Runtime::nextStep() const {
    if (nextSteps_)
        if (std::optional<StepSearch> found = tabledNextStep(*nextSteps_)) return *found;
    return searchNextStep();  // a state the table does not know: never a wrong hint
}

void Runtime::readNextSteps() {
    std::vector<const SceneDescription*> scenes;
    std::vector<SceneNow> now;
    stateNow(scenes, now);
    std::optional<NextStepTable> table;
    try {
        table = loadNextSteps(baseDir_ / "data" / "next-steps.tsv", scenes);
    } catch (const DataFileError& error) {
        if (!error.missing()) throw;  // damaged: said as any damaged file is
        nextSteps_.reset();           // not made yet (tools/make-hints): every hint is searched
        return;
    }
    // Made from other descriptions, its steps may be wrong: every hint is searched instead.
    if (table->descriptions == descriptionsFingerprint(scenes))
        nextSteps_ = std::move(table);
    else
        nextSteps_.reset();
}

std::string Runtime::nextStepsFile() const {
    std::vector<const SceneDescription*> scenes;
    std::vector<SceneNow> now;
    stateNow(scenes, now);
    return nextStepsText(descriptionsFingerprint(scenes),
                         mapNextSteps(scenes, handlers_, roles_.won, now));
}

const Hints& Runtime::hints() {
    if (!hints_) hints_ = loadHints(baseDir_ / "data" / "hints.tsv");
    return *hints_;
}

NotebookPage Runtime::notebookPage() {
    const Language& words = spoken();
    NotebookPage page;
    page.title = words.text(kNotebookTitle);
    page.hintHeading = words.text(kNotebookHintHeading);
    page.linesHeading = words.text(kNotebookLinesHeading);
    page.nothingHeard = words.text(kNotebookNothingHeard);
    page.hintButton = words.text(kNotebookHintButton);
    page.ok = words.text(kOkButton);
    if (hinted_ && hintSteps_ > 0) {
        if (!hinted_->step) {
            page.hints.push_back(words.text(hinted_->clicks > 0 ? kHintWait : kHintNone));
        } else if (const Hint* hint =
                       findHint(hints(), hinted_->step->scene, hinted_->step->control)) {
            for (int i = 0; i < hintSteps_; ++i)
                page.hints.push_back(words.text(hintContext(*hint, i + 1),
                                                hint->steps[static_cast<std::size_t>(i)]));
        } else {
            throw std::runtime_error("data/hints.tsv: no hint for a click on " +
                                     hinted_->step->control + " of " + hinted_->step->scene);
        }
    }
    const std::map<std::string, std::string, std::less<>> names = languages_.speakerNames();
    const Captions& said = subtitles_.captions();
    for (auto it = heard_.rbegin(); it != heard_.rend(); ++it) {
        const auto clip = said.find(it->clip);
        if (clip == said.end() || it->cue >= clip->second.cues.size()) continue;
        const Cue& cue = clip->second.cues[it->cue];
        const auto name = names.find(cue.speaker);
        page.lines.push_back({name == names.end() ? cue.speaker : name->second, cue.text});
    }
    return page;
}

void Runtime::showNotebook() {
    NotebookPage page = notebookPage();
    if (notebook_) {
        notebook_->replace(std::move(page));
        return;
    }
    presentDirty();  // the player sees the game as it is behind the page
    const std::optional<std::string> front = frontPlace();
    const Rect over = front ? entry(*front).state->placed : platform_.arrangement();
    notebook_.emplace(platform_, fonts_, std::move(page), over);
    notebook_->show();
}

void Runtime::openNotebook() {
    // The hint read before stays while it still leads the way.
    if (hinted_ && nextStep().step != hinted_->step) {
        hinted_.reset();
        hintSteps_ = 0;
    }
    showNotebook();
    platform_.announce(
        {Announcement::Kind::Notebook, notebookSpoken(notebook_->page()), languages_.code()});
}

void Runtime::askHint() {
    const StepSearch found = nextStep();
    if (!hinted_ || hinted_->step != found.step) {
        hinted_ = found;
        hintSteps_ = 0;
    }
    hintSteps_ = std::min(hintSteps_ + 1, kHintSteps);
    showNotebook();
    platform_.announce(
        {Announcement::Kind::Hint, notebook_->page().hints.back(), languages_.code()});
}

void Runtime::notebookInput(const InputEvent& event) {
    try {
        notebook_->handle(event);
        if (notebook_->takeHintAsked()) askHint();
    } catch (const std::exception&) {
        notebook_->abandon();  // a page that cannot be drawn cannot hold the game
    }
    if (!notebook_->closed()) return;
    const bool quit = notebook_->quitRequested();
    notebook_.reset();
    if (quit) guarded([this] { end(); });
}

}  // namespace orval
