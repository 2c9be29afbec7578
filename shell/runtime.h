// The scene runtime: one instance of each scene, loaded on first use, shown as windows,
// fed with mouse, keyboard and timer events, and ended by End or when no scene is left.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/description.h"
#include "scenes/model/render.h"
#include "scenes/model/state.h"
#include "scenes/model/text.h"
#include "scenes/game.h"
#include "shell/platform/platform.h"

namespace orval {

// The state of one scene while it is loaded; discarded by Unload.
struct LoadedScene {
    WindowId window = 0;
    bool visible = false;
    bool dirty = true;
    SceneFlags flags;
    std::vector<std::optional<std::uint64_t>> timerDeadline;  // per control; set while ticking
    std::uint64_t generation = 0;  // tells a reloaded scene from the one a click started on
};

class Runtime final : public Game {
  public:
    // `baseDir` holds data/ (descriptions, pictures, cursors) and zvuky/ (sounds).
    Runtime(Platform& platform, std::filesystem::path baseDir, const HandlerRegistry& handlers,
            std::vector<SceneDescription> descriptions);
    ~Runtime() override;

    // Shows the main menu and runs until End or until no scene is left; returns the exit
    // status: 0 for a normal end, 1 after a fatal error (already reported).
    int run(std::string_view firstScene = "ORVAL");

    // For tests and tools: handles whatever input is queued and every timer due within the
    // next `ms` milliseconds, then leaves the clock there. Returns false once the program ended.
    bool runFor(std::uint64_t ms);

    // Game operations for handlers (see shell/game.h).
    void show(std::string_view scene) override;
    void unload(std::string_view scene) override;
    [[noreturn]] void end() override;
    void setVisible(std::string_view scene, std::string_view control, bool visible) override;
    void setEnabled(std::string_view scene, std::string_view control, bool enabled) override;
    bool isVisible(std::string_view scene, std::string_view control) override;
    void messageBox(std::string_view text, std::string_view title) override;
    void playSound(std::string_view path) override;
    void openLink(std::string_view address) override;

    // Read-only views for tests, tools and the snapshot tool.
    bool isLoaded(std::string_view scene) const;
    const LoadedScene* loaded(std::string_view scene) const;
    const SceneDescription& description(std::string_view scene) const;
    bool flagVisible(std::string_view scene, std::string_view control) const;
    bool flagEnabled(std::string_view scene, std::string_view control) const;
    std::optional<std::string> sceneOfWindow(WindowId window) const;
    bool finished() const { return finished_; }
    int exitStatus() const { return exitStatus_; }
    const std::string& fatalMessage() const { return fatalMessage_; }
    // Renders a loaded scene as it looks now.
    Canvas render(std::string_view scene, const RenderOptions& options = {});

  private:
    struct Entry {
        SceneDescription description;
        std::unique_ptr<LoadedScene> state;
    };
    struct Press {
        std::string scene;
        int control = -1;
        std::uint64_t generation = 0;
    };

    Entry& entry(std::string_view scene);
    const Entry& entry(std::string_view scene) const;
    LoadedScene& ensureLoaded(std::string_view scene);
    int controlIndex(const Entry& e, std::string_view control) const;
    void callHandler(const std::string& scene, const std::string& handler);

    // One turn of the loop: handle one input or one due timer; false when nothing was due.
    void handleInput(const InputEvent& event);
    bool fireDueTimer(std::uint64_t limit);
    std::optional<std::uint64_t> nextDeadline() const;
    void guarded(const std::function<void()>& work);
    void presentDirty();
    void updateCursor(const std::string& scene, int x, int y);
    void closeEverything();

    Platform& platform_;
    std::filesystem::path baseDir_;
    const HandlerRegistry& handlers_;
    std::map<std::string, Entry, std::less<>> scenes_;
    std::vector<std::string> order_;  // scene names in description order
    PictureStore pictures_;
    Fonts fonts_;
    std::optional<Press> press_;
    std::uint64_t nextGeneration_ = 1;
    bool finished_ = false;
    int exitStatus_ = 0;
    std::string fatalMessage_;
};

}  // namespace orval
