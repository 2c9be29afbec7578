// The stage on SDL: the game's windows composed into one window of the desktop, windowed or
// fullscreen. What it composes and where a pointer lands is the plain Stage (stage.h).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "scenes/model/canvas.h"
#include "shell/platform/platform.h"
#include "shell/platform/sdl_session.h"
#include "shell/platform/stage.h"

struct SDL_Window;

namespace orval {

class StagePlatform final : public SdlPlatformBase {
  public:
    // Starts SDL; the stage's window opens with the first game window, fullscreen if asked.
    explicit StagePlatform(bool fullscreen, QuitSignals* signals = nullptr)
        : StagePlatform(fullscreen, std::make_unique<SdlSession>(signals)) {}
    // The same on SDL as another platform started it.
    StagePlatform(bool fullscreen, std::unique_ptr<SdlSession> session);
    ~StagePlatform() override;
    StagePlatform(const StagePlatform&) = delete;
    StagePlatform& operator=(const StagePlatform&) = delete;

    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override;
    int fitScale(const WindowPlan& plan) override;
    Rect usableBounds() override { return {0, 0, Stage::kWidth, Stage::kHeight}; }
    Rect arrangement() override { return usableBounds(); }
    WindowId openWindow(const WindowRequest& request, WindowPainter& painter) override;
    void showWindow(WindowId window) override;
    void closeWindow(WindowId window) override;
    void invalidate(WindowId window) override;
    void setCursor(const std::string& cursorFile) override;
    void movePointer(WindowId window, int x, int y) override;
    void toggleFullscreen() override;
    void nextWindow() override { stage_.cycle(); }

  private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const;
    };
    struct GameWindow {
        Canvas pixels;  // at the stage's scale, kept so an uncovered part is composed at once
        WindowPainter* painter = nullptr;
    };

    // What the window manager's frame takes on each side of the stage's window.
    struct Frame {
        int top = 0, left = 0, bottom = 0, right = 0;
    };
    // Opens the stage's window, if it is not open, with the first game window it will hold.
    void openStage(const std::string& firstTitle);
    // Where the stage's window lies when not fullscreen, in screen pixels: as large as the stage
    // at its scale, or as the usable screen holds beside the frame, centred with its frame.
    Rect windowedPlace(const Frame& frame) const;
    // Once shown, the window is moved and sized so that it and its frame lie on the usable area.
    void fitWindowed();
    // The window has a new size: the stage is laid out in it anew.
    void resized();
    // Composes what changed and hands it to the window system.
    void present();
    void compose(SDL_Surface* target, int originX, int originY, const Rect& area);
    // The handles of the windows waiting outside the one shown alone, over its left edge.
    void drawHandles(SDL_Surface* surface);
    // The pointer at a pixel of the stage window, as the game window under it gets it.
    std::optional<InputEvent> pointer(InputEvent input);
    // Whether the pointer lies over no game window: the plain arrow, whatever a scene asked.
    void setOverBackground(bool over);
    int cursorScale() const;
    std::optional<InputEvent> fromPad(InputEvent input) override;
    // The stick's next move of the pointer, anywhere on the stage.
    std::optional<InputEvent> glide() override;

    bool fullscreen_;
    std::string title_;  // the game's name, as its plan gives it
    Stage stage_;
    Rect windowed_;  // the window's place when not fullscreen
    std::unique_ptr<SDL_Window, WindowDeleter> window_;
    bool shown_ = false;
    std::map<WindowId, GameWindow> windows_;
    WindowId nextWindow_ = 1;
    bool newSurface_ = false;  // the window has new pixels: the dark around the stage too
    SurfacePtr frame_;         // the whole stage at its scale, while it is shown scaled down
    Rect shownArea_;           // where the stage, or the window alone, was last drawn
    std::string sceneCursor_;
    bool overBackground_ = false;
    std::optional<Point> pointer_;  // where it is in the stage window, its pixels
};

}  // namespace orval
