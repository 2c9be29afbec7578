// The desktop platform: one borderless SDL window per game window, each drawn through its
// window surface, placed and stacked by the desktop's window manager.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "shell/platform/platform.h"
#include "shell/platform/sdl_session.h"

struct SDL_Window;

namespace orval {

class SdlPlatform final : public SdlPlatformBase {
  public:
    // Starts SDL. Without a display it still constructs, and the first window it is asked for
    // fails with the reason.
    explicit SdlPlatform(QuitSignals* signals = nullptr)
        : SdlPlatform(std::make_unique<SdlSession>(signals)) {}
    explicit SdlPlatform(std::unique_ptr<SdlSession> session)
        : SdlPlatformBase(std::move(session)), scale_(session_->requestedScale()) {}
    ~SdlPlatform() override = default;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // The usable screen (screen pixels) when the windows of `plan` do not fit on it together,
    // each beside the others as in the arrangement, even at scale 1; nothing when they do, or
    // when there is no display (the first window then says why).
    std::optional<Rect> tooSmallFor(const WindowPlan& plan) const;

    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override;
    int fitScale(const WindowPlan& plan) override;
    Rect usableBounds() override;
    Rect arrangement() override;
    WindowId openWindow(const WindowRequest& request, WindowPainter& painter) override;
    void showWindow(WindowId window) override;
    void closeWindow(WindowId window) override;
    void invalidate(WindowId window) override { paint(window, windows_.at(window)); }
    void setCursor(const std::string& cursorFile) override {
        session_->setCursor(cursorFile, scale_);
    }
    void movePointer(WindowId window, int x, int y) override;
    // The window manager makes a window fullscreen and brings the next one forward.
    void toggleFullscreen() override {}
    void nextWindow() override {}

  private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const;
    };
    struct OpenWindow {
        std::unique_ptr<SDL_Window, WindowDeleter> window;
        WindowPainter* painter = nullptr;
        bool takesFocus = true;  // all but the subtitle window
    };

    std::optional<WindowId> idOf(std::uint32_t sdlWindowId) const;
    void paint(WindowId id, OpenWindow& window);
    // The window the keys go to: the one with the keyboard's focus, else the last raised.
    std::optional<WindowId> frontWindow() const;
    std::optional<InputEvent> fromPad(InputEvent input) override;
    // The stick's next move of the pointer, inside the window it is in (or the front one).
    std::optional<InputEvent> glide() override;

    int scale_ = 1;                    // screen pixels per logical pixel, across and down
    std::optional<Rect> arrangement_;  // settled with the scale
    std::map<WindowId, OpenWindow> windows_;
    WindowId nextWindow_ = 1;
    std::optional<WindowPoint> pointer_;  // as last moved or reported
    std::optional<WindowId> front_;
};

}  // namespace orval
