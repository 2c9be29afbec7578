// What tests and tools may see of a running game without changing it: which scenes are loaded
// and shown, their flags, the box, the keys' mark, the subtitles. Nothing here loads a scene.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/description.h"
#include "scenes/model/state.h"
#include "shell/focus_mark.h"
#include "shell/message_box.h"
#include "shell/next_step.h"
#include "shell/notebook_window.h"
#include "shell/platform/platform.h"
#include "shell/subtitle_track.h"

namespace orval {

class Runtime;

class RuntimeView {
  public:
    explicit RuntimeView(const Runtime& runtime) : runtime_(runtime) {}

    bool isLoaded(std::string_view scene) const;
    // Whether the loaded scene's window has been shown.
    bool isShown(std::string_view scene) const;
    std::optional<WindowId> windowOf(std::string_view scene) const;
    std::optional<std::string> sceneOfWindow(WindowId window) const;
    // The scene as shown, in the language spoken.
    const SceneDescription& description(std::string_view scene) const;
    // The flags of a loaded scene; a timer's Enabled tells whether it ticks.
    SceneFlags flags(std::string_view scene) const;
    // A control's flag in its loaded scene: unlike the handlers' isVisible, which loads the
    // scene as the game's own code did, it changes nothing.
    bool peekVisible(std::string_view scene, std::string_view control) const;
    bool peekEnabled(std::string_view scene, std::string_view control) const;

    bool finished() const;
    int exitStatus() const;
    // Whether the game ended because it was asked to (End, a window closed, the system's quit),
    // not because the story closed its last window: a page thanks only for the latter.
    bool askedToEnd() const;
    const std::string& fatalMessage() const;
    // The message box open now, if any.
    const MessageBoxWindow* openBox() const;
    // Where the keyboard's focus mark stands, if it shows.
    const std::optional<FocusMark::Spot>& focusMark() const;
    // The name line as its window last drew it, with the scene and the control it names.
    struct DrawnName {
        std::string scene, control;
        std::string said;  // "Použít: telefon"
        Rect place;        // the plate, in the window's logical pixels
    };
    std::optional<DrawnName> nameLine() const;
    // The control the name line names now, drawn or not (L off, a control with words of its own).
    std::optional<std::string> named() const;
    // The notebook open now, if any.
    const NotebookWindow* notebook() const;
    // What the player should do next from the flags he has now (what F2 hints at): from the
    // table of next steps where it holds this state, else searched.
    StepSearch nextStep() const;
    // The same, always searched; and as `table` holds it (nothing where it holds no such state).
    StepSearch searchedNextStep() const;
    std::optional<StepSearch> tabledNextStep(const NextStepTable& table) const;
    // Whether the game looks hints up in a table (read at start, made from these descriptions).
    bool hasNextStepTable() const;
    // The fingerprint of the descriptions as shown, and the table of next steps for them as its
    // file says it (tools/make-hints), made from the state now.
    std::string descriptionsFingerprint() const;
    std::string nextStepsFile() const;
    // The subtitle page shown now, if any.
    std::optional<SubtitleTrack::Shown> subtitleShown() const;
    // The language the game speaks now, and the ones its data has (Czech first).
    const std::string& language() const;
    const std::vector<std::string>& languages() const;

  private:
    const Runtime& runtime_;
};

}  // namespace orval
