// The scene runtime: one instance of each scene, loaded on first use, shown as windows,
// fed with mouse, keyboard and timer events, and ended by End or when no scene is left.
// It draws every window it opens, the message box included; the platform only shows pixels.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scenes/game.h"
#include "scenes/model/captions.h"
#include "scenes/model/description.h"
#include "scenes/model/hints.h"
#include "scenes/model/language.h"
#include "scenes/model/loader.h"
#include "scenes/model/pictures.h"
#include "scenes/model/render.h"
#include "scenes/model/state.h"
#include "scenes/model/text.h"
#include "shell/bindings.h"
#include "shell/focus_mark.h"
#include "shell/message_box.h"
#include "shell/next_step.h"
#include "shell/notebook_window.h"
#include "shell/platform/platform.h"
#include "shell/runtime_view.h"
#include "shell/settings.h"
#include "shell/subtitle_track.h"
#include "shell/timers.h"

namespace orval {

// How the game begins, as the player asked for it.
struct StartOptions {
    std::string language{kCzech};  // one of the languages the game's data has
    bool subtitles = true;         // T
    bool sound = true;             // M
    // Hears of every change the player makes to the language, T, M or L, so that it can be kept
    // for the next run.
    std::function<void(const PlayerChoices&)> choicesChanged;
    bool names = true;    // L: the name line under the pointer
    bool speech = false;  // S, --speak: the announcements spoken aloud on the desktop
};

class Runtime final : public Game, private WindowPainter {
  public:
    // `baseDir` holds data/ (descriptions, pictures, cursors, subtitles), zvuky/ (sounds) and
    // po/ (the catalogues of the other languages). Without `descriptions` or `captions` (the
    // subtitles of the language it starts in), run() reads them from data/ first, so a damaged
    // file takes the fatal path like any other error.
    Runtime(Platform& platform, std::filesystem::path baseDir, const HandlerRegistry& handlers,
            std::vector<SceneDescription> descriptions = {}, Captions captions = {},
            StartOptions options = {});
    ~Runtime() override;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Shows the first scene (the one whose role is first: the main menu; tests and tools may
    // name another) and runs until End or until no scene is left; returns the exit status: 0
    // for a normal end, 1 after a fatal error (already reported).
    int run(std::string_view firstScene = {});

    // Reports a failure met before the game could begin (its files not found) through the
    // one fatal path: its box stays until the player answers it, as `step` goes on.
    void failAtStart(const std::string& message);

    // The language, T's subtitles, M's sound and L's names as the player has them now.
    PlayerChoices choices() const;

    // The start of run(): shows the first scene. The rest of the start-up (the fonts, a check
    // of every picture, the other languages' subtitles and boxes) is the first `step`, once the
    // menu has been painted and before any input is acted on.
    void start(std::string_view firstScene = {});

    // Handles the next thing that happens: the rest of the start-up, a due timer or one input,
    // waiting for it at most until `until` (forever without). False once nothing more will
    // happen: the program ended, `until` came, or the headless twin has no input left and no
    // timer ticks. The desktop's loop calls it without `until` and sleeps in it; a browser
    // page's calls it with `until` now each frame, until it says false.
    bool step(std::optional<std::uint64_t> until);

    // When the game next has something to do though no input comes (the rest of the start-up,
    // a timer, the subtitles' next page, the platform's own look at its sound device), on the
    // platform's clock; nothing when only input can wake it. A page's loop rests until then.
    std::optional<std::uint64_t> nextDue();
    // Whether the game has ended and its last box is answered: `step` does nothing more.
    bool ended() const { return finished_ && !box_; }
    // Closes every window once the game has ended; the exit status.
    int finish();

    // For tests and tools: handles whatever input is queued and every timer due within the
    // next `ms` milliseconds, then leaves the clock there. Returns false once the program ended.
    bool runFor(std::uint64_t ms);

    // Game operations for handlers (see scenes/game.h).
    void show(std::string_view scene) override;
    void unload(std::string_view scene) override;
    [[noreturn]] void end() override;
    void setVisible(std::string_view scene, std::string_view control, bool visible) override;
    void setEnabled(std::string_view scene, std::string_view control, bool enabled) override;
    bool isVisible(std::string_view scene, std::string_view control) override;
    void messageBox(std::string_view message) override;
    void playSound(std::string_view clip) override;
    void openLink(std::string_view address) override;
    void showControls() override;
    // Every change of language passes here. Throws for a language the game does not have.
    void setLanguage(std::string_view code) override;

    // What tests and tools may see of the game; it changes nothing.
    RuntimeView view() const { return RuntimeView(*this); }
    // Renders a loaded scene as it looks now into a canvas of its own at the display scale (the
    // snapshot tool).
    Canvas render(std::string_view scene, const RenderOptions& options = {});

  private:
    friend class RuntimeView;

    bool isLoaded(std::string_view scene) const;
    // Whether the loaded scene's window has been shown.
    bool isShown(std::string_view scene) const;
    std::optional<std::string> sceneOfWindow(WindowId window) const;
    // The state of one scene while it is loaded; discarded by Unload.
    struct LoadedScene {
        WindowId window = 0;
        Rect placed;  // the window's client area on the screen
        bool visible = false;
        bool dirty = false;  // a flag changed that shows: its window must be drawn again
        SceneFlags flags;
    };
    struct Entry {
        SceneDescription source;       // as read, in Czech
        SceneDescription description;  // as shown, in the language spoken
        int order = 0;                 // its place among the descriptions, for its timers
        std::unique_ptr<LoadedScene> state;
    };
    struct Press {
        std::string scene;
        int control = -1;
    };
    void addDescriptions(std::vector<SceneDescription> descriptions);
    // The language spoken, read with every other one the first time it is needed, when every
    // scene is put into it.
    const Language& spoken();
    // Every scene's words and pictures, and the subtitles' names, in the language spoken.
    void localiseAll();
    Entry& entry(std::string_view scene);
    const Entry& entry(std::string_view scene) const;
    LoadedScene& ensureLoaded(std::string_view scene);
    int controlIndex(const Entry& e, std::string_view control) const;
    void callHandler(const std::string& scene, const std::string& handler,
                     const Control& control = {});
    // Decodes each picture of the scene once, as drawn at the display scale, to learn that it
    // can be.
    void checkPictures(const SceneDescription& d, int scale);
    // The platform's display scale, settled before the first scene window opens so that every
    // scene window fits the screen.
    int settleScale();

    void paint(WindowId window, Canvas& canvas) override;
    // Draws a loaded scene as its window shows it.
    void drawScene(const Entry& e, Canvas& canvas, RenderOptions options);
    void handleInput(const InputEvent& event);
    bool fireDueTimer();
    void guarded(const std::function<void()>& work);
    void fail(const std::string& message);
    // The rest of the start-up, once the first scene shows (see start).
    void finishStartUp();
    // Opens a modal box: from now until it is answered only it takes input, no timer ticks,
    // and the game's operations a handler asks for wait for its answer (keptForLater).
    void openBox(const std::string& title, const std::string& text);
    // While a box is open, a handler's operation is kept to run after it, in order: true when
    // `operation` was kept. A handler stays a plain sequence of steps; the steps after its box
    // run when the box closes, without a loop nested inside the handler (a page has none).
    bool keptForLater(std::function<void()> operation);
    // The box was answered: it closes, then the operations kept for after it run, until one
    // opens a box again; closing the game instead ends it.
    void closeBox();
    void presentDirty();
    void updateCursor(const std::string& scene, int x, int y);
    // The pointer is at a pixel of the scene's window: what lies there hears of it.
    void hover(const std::string& scene, int x, int y);
    // Draws the scene's window again once the running work is done.
    void redraw(const std::string& scene);
    // The control of the scene (or none) is the one the name line names now: under the resting
    // pointer, the mark or a first touch. A screen reader hears of every change.
    void nameAt(const std::string& scene, int control);
    // The name line goes (the pointer left, another place came forward).
    void forgetName();
    // The name line as the scene's window shows it now, if it shows one.
    std::optional<RenderOptions::ShownName> nameLineIn(const std::string& scene);

    // What the player asks with a key or a button (shell/runtime_keys.cpp), the scene's window
    // in front: subtitles, sound, hotspots, the line playing, the card, and the focus mark that
    // Tab, the arrow keys and Enter work with.
    void act(Action action, const std::string& scene);
    // The stage's own keys act on the platform whatever is in front, a box too: true when the
    // event was one.
    bool stageKey(const InputEvent& event);
    // Hands one input to whatever holds the game now: the box, the notebook or the scenes.
    void take(const InputEvent& event);
    // A click, a key, a tap: input that would change the game, not only show what lies where.
    static bool actsOnTheGame(const InputEvent& event);
    void stepFocus(Action step);
    // Puts the mark and the pointer on a spot, as if the player had moved the mouse there.
    void pointAt(const FocusMark::Spot& spot);
    // Enter on the mark: a click on its spot. False when there is no mark.
    bool clickMark();
    // Start: on the main menu its first entry; elsewhere the command button, as Enter.
    void pressStart();
    // The loaded, shown scene as the focus mark sees it.
    std::optional<FocusMark::Scene> markable(const std::string& scene) const;
    // The place the player is in: the scene in front, unless it floats over the others (the
    // scene of the inventory's role).
    std::optional<std::string> frontPlace() const;
    // A finger on the screen (shell/runtime_touch.cpp): a first tap on a thing marks and names
    // it, a second acts; words act at once; a finger held still shows every hotspot.
    void touch(const std::string& scene, const InputEvent& event);
    void tap(const std::string& scene, Point at, int reach);
    // The finger has been held still long enough: every hotspot shows until it is lifted.
    void fingerHeld();
    // Presses the scene's command button, if it has one that can be pressed.
    bool pressCommandButton(const std::string& scene);
    // The scene a clip's words belong under: the one that spoke, unless it floats over the
    // others (the inventory's role) or is gone (the conversation's farewell).
    std::optional<std::string> subtitleAnchor() const;
    void startSubtitles(std::string_view path);
    // The notebook (runtime_notebook.cpp): N opens it over the place in front, F2 adds a step
    // of the hint; while it is open it takes every input and no timer ticks.
    void openNotebook();
    void askHint();
    void notebookInput(const InputEvent& event);
    // Opens the notebook with the page as it is now, or shows that page in the one open.
    void showNotebook();
    NotebookPage notebookPage();
    // The hints' words, read the first time they are needed (at start, where the game starts).
    const Hints& hints();
    // What the player should do next from the flags he has now; changes nothing. nextStep asks
    // the table first and searches only where it holds no such state.
    StepSearch nextStep() const;
    StepSearch searchNextStep() const;
    std::optional<StepSearch> tabledNextStep(const NextStepTable& table) const;
    // The table of next steps, read at start with the other data, and what tools/make-hints
    // writes into its file.
    void readNextSteps();
    std::string nextStepsFile() const;
    // The descriptions as shown, in the scene order, and each scene's state now: what the search
    // and the table read.
    void stateNow(std::vector<const SceneDescription*>& scenes, std::vector<SceneNow>& now) const;
    void broughtForward(const std::string& scene);
    void closeEverything();
    void choicesChanged();
    // Tells the platform what is on or off now, for what it shows beside the game.
    void showSwitches();

    Platform& platform_;
    std::filesystem::path baseDir_;
    Languages languages_;
    const HandlerRegistry& handlers_;
    std::map<std::string, Entry, std::less<>> scenes_;
    std::vector<std::string> order_;  // scene names in description order
    Timers timers_;                   // the loaded scenes' ticking timers
    PictureStore pictures_;
    Fonts fonts_{[this] { return platform_.fontFiles(); }};
    std::optional<int> scale_;  // the display scale the pictures are drawn for, once settled
    std::optional<Press> press_;
    // The open message box; while it is there, only it takes input and no timer ticks.
    std::optional<MessageBoxWindow> box_;
    // The open notebook; it holds the game as the box does.
    std::optional<NotebookWindow> notebook_;
    // Every spoken line of the clips played in this game, in order: the clip and its cue, so
    // that the notebook shows it in the language played now.
    struct HeardCue {
        std::string clip;
        std::size_t cue = 0;
    };
    std::vector<HeardCue> heard_;
    std::optional<Hints> hints_;
    // The next steps made ahead; none where the file was made from other descriptions.
    std::optional<NextStepTable> nextSteps_;
    // The step the hint asked for leads to, and how many of its steps the player has read;
    // they stay until the next step is another.
    std::optional<StepSearch> hinted_;
    int hintSteps_ = 0;
    bool speech_ = false;
    // A handler's operations asked for after its box opened, with the scene whose handler asked.
    struct LaterStep {
        std::string scene;
        std::function<void()> operation;
    };
    std::deque<LaterStep> later_;
    bool startUpLeft_ = false;  // the first scene shows; the rest of the start-up waits for a step
    // What acts on the game before the rest of the start-up (a page's places still coming),
    // acted on once it is done.
    std::vector<InputEvent> keptInput_;
    std::vector<LaterPicture> laterPictures_;  // named by a description, not there at start
    SubtitleTrack subtitles_{platform_, fonts_};
    std::string handlerScene_;          // the scene whose handler runs now
    std::vector<std::string> forward_;  // scenes in the order they last came forward
    FocusMark focus_;
    GameRoles roles_;  // the first scene, the menu, the inventory, by the descriptions' Roles
    bool muted_ = false;
    std::function<void(const PlayerChoices&)> choicesChanged_;
    bool hotspotsMarked_ = false;
    // The control the name line names, and whether the player wants to see it (L).
    struct Named {
        std::string scene;
        int control = -1;
        friend bool operator==(const Named&, const Named&) = default;
    };
    std::optional<Named> named_;
    bool namesShown_ = true;
    std::optional<RuntimeView::DrawnName> drawnName_;  // as the last paint drew it
    // The finger on the screen, from its touch until it is lifted.
    struct Finger {
        std::string scene;
        Point down;                   // where it touched
        int reach = 0;                // its slop
        std::uint64_t holdUntil = 0;  // held still until then, it shows the hotspots
        bool still = true;            // it has not moved beyond its slop
        bool showing = false;         // it shows the hotspots
    };
    std::optional<Finger> finger_;
    bool finished_ = false;
    bool askedToEnd_ = false;  // End, a window's close or a quit, not the last scene closing
    int exitStatus_ = 0;
    std::string fatalMessage_;
};

}  // namespace orval
