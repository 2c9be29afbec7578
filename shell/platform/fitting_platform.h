// The game in windows of the desktop where they fit the screen together, and on the stage where
// they do not (800 x 600, 640 x 480): there windows would be cut and parts of the game out of
// reach. Chosen once, when the scale is settled, before the first window opens.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shell/platform/platform.h"
#include "shell/platform/quit_signals.h"
#include "shell/platform/sdl_platform.h"
#include "shell/platform/stage_platform.h"

namespace orval {

class FittingPlatform final : public Platform {
  public:
    // Starts SDL for the desktop's windows.
    explicit FittingPlatform(QuitSignals* signals)
        : desktop_(std::make_unique<SdlPlatform>(signals)) {}
    ~FittingPlatform() override = default;
    FittingPlatform(const FittingPlatform&) = delete;
    FittingPlatform& operator=(const FittingPlatform&) = delete;

    // Whether the game went on the stage.
    bool onStage() const { return stage_ != nullptr; }

    // The stage takes over here, on SDL as the desktop started it, when the windows of the
    // plan cannot lie together on the screen; it says so on stderr.
    int fitScale(const WindowPlan& plan) override;

    std::uint64_t now() override { return chosen().now(); }
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override {
        return chosen().waitEvent(deadline);
    }
    std::optional<std::uint64_t> ownDeadline() override { return chosen().ownDeadline(); }
    Rect usableBounds() override { return chosen().usableBounds(); }
    Rect arrangement() override { return chosen().arrangement(); }
    WindowId openWindow(const WindowRequest& request, WindowPainter& painter) override {
        opened_ = true;
        return chosen().openWindow(request, painter);
    }
    void showWindow(WindowId window) override { chosen().showWindow(window); }
    void closeWindow(WindowId window) override { chosen().closeWindow(window); }
    void invalidate(WindowId window) override { chosen().invalidate(window); }
    void setCursor(const std::string& cursorFile) override { chosen().setCursor(cursorFile); }
    void movePointer(WindowId window, int x, int y) override { chosen().movePointer(window, x, y); }
    void toggleFullscreen() override { chosen().toggleFullscreen(); }
    void nextWindow() override { chosen().nextWindow(); }
    void playSound(const std::string& file) override { chosen().playSound(file); }
    void stopSound() override { chosen().stopSound(); }
    FontFiles fontFiles() override { return chosen().fontFiles(); }
    void openUrl(const std::string& url) override { chosen().openUrl(url); }
    void announce(const Announcement& announcement) override { chosen().announce(announcement); }
    void showSwitches(const Switches& switches) override { chosen().showSwitches(switches); }
    bool dataArrived() override { return chosen().dataArrived(); }
    void speakAnnouncements(bool on) override { chosen().speakAnnouncements(on); }
    void showPlainError(std::string_view title, std::string_view text) override {
        chosen().showPlainError(title, text);
    }

  private:
    Platform& chosen() {
        if (stage_) return *stage_;
        return *desktop_;
    }

    std::unique_ptr<SdlPlatform> desktop_;
    std::unique_ptr<StagePlatform> stage_;
    bool opened_ = false;   // a window is open: too late to change
    bool settled_ = false;  // the choice is made
};

}  // namespace orval
