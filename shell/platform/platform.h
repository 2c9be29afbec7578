// The one door between the game and the machine: windows, input, time, sound, browser.
// SdlPlatform drives a real desktop; HeadlessPlatform records everything for tests and tools.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scenes/model/canvas.h"
#include "scenes/model/geometry.h"

namespace orval {

using WindowId = int;

// Everything a new scene window needs; the window is created hidden.
struct WindowRequest {
    std::string title;
    int x = 0, y = 0;           // client area's upper-left corner on the screen, pixels
    int width = 0, height = 0;  // client size, pixels
    std::string iconFile;       // absolute path of a PNG, or empty
};

// One thing the player did, addressed to a window.
struct InputEvent {
    enum class Type {
        MouseMove,
        MouseDown,
        MouseUp,
        KeyActivate,   // Space or Enter
        CloseRequest,  // the window manager asked a window to close
        Expose,        // the window's content was lost and must be drawn again
    };
    Type type = Type::MouseMove;
    WindowId window = 0;
    int x = 0, y = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Milliseconds on the game's clock (virtual in the headless twin).
    virtual std::uint64_t now() = 0;

    // Waits for the next input, at most until `deadline` (absolute ms on now()'s clock), or
    // forever when there is none; returns nothing when the deadline passed first. The real
    // platform sleeps in the system meanwhile; the headless twin advances its clock.
    virtual std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) = 0;

    // The primary display's usable area, for centring windows.
    virtual Rect usableBounds() = 0;

    // Creates a borderless, hidden window of exactly the client size at the given position.
    virtual WindowId openWindow(const WindowRequest& request) = 0;
    // Makes the window visible, raises it above the others and gives it the keyboard focus.
    virtual void showWindow(WindowId window) = 0;
    // Destroys the window; its id is never used again.
    virtual void closeWindow(WindowId window) = 0;
    // Replaces the window's content with the canvas (which has the client size).
    virtual void present(WindowId window, const Canvas& canvas) = 0;

    // Shows a shared cursor (absolute path of its PNG, hotspot at 0,0); empty = the arrow.
    virtual void setCursor(const std::string& cursorFile) = 0;

    // A modal box centred on the screen; returns when the player closed it. While it is open
    // no scene window takes mouse input and the caller's loop (timers included) is held.
    virtual void messageBox(std::string_view title, std::string_view text) = 0;

    // Starts the WAV file at `file`, cutting off the clip still playing. A file that is
    // missing or unplayable gives a short alert tone; without an audio device, silence.
    // Never throws and never waits.
    virtual void playSound(const std::string& file) = 0;

    // Hands the address to the desktop's opener without waiting; failures are ignored.
    virtual void openUrl(const std::string& url) = 0;

    // Tells the player about a fatal error as well as the platform can (stderr at least).
    virtual void reportFatal(std::string_view message) = 0;
};

}  // namespace orval
