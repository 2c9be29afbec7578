// What differs between the desktops the game's windows live on. Each system has a file of its
// own (desktop_x11.cpp, desktop_windows.cpp, desktop_web.cpp for a browser page); the rest of
// the platform is the same everywhere.
#pragma once

#include <cstdint>
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
    // time came first. A desktop sleeps without waking until input or the time comes; a page
    // never waits (its loop rests between the browser's frames instead).
    bool waitEvent(SDL_Event& event, std::optional<int> timeoutMs) const;
    // The file a clip's sound is read from, given its WAV beside the game: that file itself on
    // a desktop; in a browser its Ogg Vorbis twin, fetched the first time it is asked for, and
    // nothing until it has come (a failed fetch gives the missing file: the alert tone). Its
    // arrival wakes the page's loop.
    std::optional<std::string> clipFile(const std::string& wavFile) const;
    // The system's own plain error box, for when the game cannot draw its own.
    void showPlainError(const std::string& title, const std::string& text) const;
    // Words for a screen reader: a page puts them in its live region; a desktop has none here.
    void announce(const Announcement& announcement) const;
    // What the player has on or off, for the page's buttons for fingers; nothing on a desktop.
    void showSwitches(const Switches& switches) const;
    // Whether the stage shows the window in front alone, as large as it can (a phone's page):
    // asked again whenever the window changes its size.
    bool showsFrontAlone() const;
    // The page's pack of the places' pictures has come (always, on a desktop).
    bool dataArrived() const;
    // How many of the window's pixels one pixel of a pointer's picture covers: 1 on a desktop;
    // in a page, whose window is as many pixels as the screen has under it while the browser
    // shows pointer pictures in its CSS pixels, the screen's pixel ratio.
    int pointerPixelRatio() const;
    // Whether the scale asked for is taken as it is: a page chooses it from the screen's pixels
    // under it, and the stage is shown scaled down where it is the larger; a desktop's window
    // takes the largest up to it that the screen holds.
    bool choosesScale() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The game as its loop drives it, one step at a time (main's game: its runtime on its platform).
class SteppedGame {
  public:
    virtual ~SteppedGame() = default;
    // Handles the next thing that happens, waiting for it at most until `until` (for ever
    // without); false once nothing more happens until then, or the game has ended.
    virtual bool step(std::optional<std::uint64_t> until) = 0;
    virtual bool ended() const = 0;
    // When the game next has something to do though no input comes; nothing when only input.
    virtual std::optional<std::uint64_t> nextDue() = 0;
    // Milliseconds on the clock of `until` and `nextDue`.
    virtual std::uint64_t now() = 0;
    // Closes the game's windows once it has ended; its exit status.
    virtual int finish() = 0;
};

// Runs the game to its end, each resource gone after. A desktop loops, sleeping inside each
// step, and returns the exit status. A browser page steps it from the browser's frames, resting
// while nothing is due so that a page at rest costs nothing, and returns at once; the page is
// told of the end (Module.onExit) when it comes.
int runGame(std::unique_ptr<SteppedGame> game);

// How the game ended, for a page that says it in its own words: asked to end (End, a window
// closed) or the story closed its last window, and the language the game spoke then. Nothing on
// a desktop, whose windows simply go.
void tellHowTheGameEnded(bool askedToEnd, const std::string& language);

}  // namespace orval
