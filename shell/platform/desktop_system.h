// What differs between the desktops the game's windows live on. Each system has a file of its
// own (desktop_x11.cpp, desktop_windows.cpp, desktop_web.cpp for a browser page); the rest of
// the platform is the same everywhere.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "shell/platform/platform.h"

union SDL_Event;

namespace orval {

// Whatever the system needs kept while SDL's video runs; made before SDL starts, released after
// it has gone.
class DesktopSystem {
  public:
    // Sets the system's hints for SDL's video, before it starts.
    DesktopSystem();
    ~DesktopSystem();
    DesktopSystem(const DesktopSystem&) = delete;
    DesktopSystem& operator=(const DesktopSystem&) = delete;

    // The desktop's font resolution (X's Xft.dpi: 192 on a screen shown at 200 %), if it has one.
    std::optional<std::string> fontDpi() const;
    // Whether a window that floats above the others must be raised again over a scene brought
    // forward (where "always on top" holds by itself, it need not).
    bool raisesFloatingWindows() const;
    // Whether a window asked to be fullscreen is made to cover the screen by the system (an X
    // server without a window manager leaves it as it was: the game must size it itself).
    bool coversScreenWhenFullscreen() const;
    // Whether a window is framed by the system (a title bar above it): a page's canvas is not,
    // so the stage takes the whole page.
    bool framesWindows() const;
    // The next SDL event, waiting at most `timeoutMs` (for ever without one): false when the
    // time came first. It sleeps without waking until input or the time comes.
    bool waitEvent(SDL_Event& event, std::optional<int> timeoutMs) const;
    // The file a clip's sound is read from, given its WAV beside the game: that file itself on
    // a desktop; in a browser its Ogg Vorbis twin, fetched the first time it is asked for.
    std::string clipFile(const std::string& wavFile) const;
    // Lets what was drawn reach the screen before the program goes on: at once on a desktop; a
    // page shows its canvas only once the program has given the browser a frame.
    void showDrawnFrame() const;
    // The system's own plain error box, for when the game cannot draw its own.
    void showPlainError(const std::string& title, const std::string& text) const;
    // Words for a screen reader: a page puts them in its live region; a desktop has none here.
    void announce(const Announcement& announcement) const;
    // What the player has on or off, for the page's buttons for fingers; nothing on a desktop.
    void showSwitches(const Switches& switches) const;
    // Whether the stage shows the window in front alone, as large as it can (a phone's page):
    // asked again whenever the window changes its size.
    bool showsFrontAlone() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// What main returns once the game has ended and every resource is gone: the status itself, or,
// in a browser page, whose program was suspended and resumed in between, the page is told.
int endProgram(int status);

}  // namespace orval
