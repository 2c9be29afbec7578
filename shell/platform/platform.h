// The one door between the game and the machine: windows of pixels, input, time, sound, browser.
// SdlPlatform drives a real desktop; HeadlessPlatform records everything for tests and tools.
// The platform knows rectangles and canvases only: it never draws a scene or a letter itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/font_files.h"
#include "scenes/model/geometry.h"

namespace orval {

using WindowId = int;

// A logical pixel of one of the game's windows: where the pointer is in it.
struct WindowPoint {
    WindowId window = 0;
    Point point;  // relative to the window's upper-left corner
    friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};

// What a window is for; it decides how the window system treats it.
enum class WindowKind {
    Scene,       // a scene of the game
    MessageBox,  // a modal box: above every scene window until it is answered
    Notebook,    // the notebook: above every scene window, as a box, until it is put away
    Subtitles,   // the words of the clip playing: above the scenes, never focused, not in the
                 // task bar
};

// Everything a new window needs; the window is created hidden.
struct WindowRequest {
    WindowKind kind = WindowKind::Scene;
    std::string title;
    // Logical pixels, as everywhere above the platform: a platform showing the game at display
    // scale k makes the window k times as large, at k times the position.
    int x = 0, y = 0;           // client area's upper-left corner on the screen
    int width = 0, height = 0;  // client size
    std::string iconFile;       // absolute path of a PNG, or empty
    // A window the player keeps beside the others (the inventory over the places): a stage
    // that shows the window in front alone passes over it until the player brings it forward.
    bool aside = false;
};

// A key of the keyboard as the platform reads it: which key it is (as the player's layout names
// it), never what it does. What a key does is the binding table's (shell/bindings.*).
// clang-format off
enum class Key {
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Enter, KeypadEnter, Escape, Tab, Space, Left, Right, Up, Down,
};
// clang-format on

// The modifiers held down with a key.
struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
};

// The buttons of a game controller the game reads, named by their place on the pad as SDL's
// mapping names them (A is the lower one of the four, Back the left one of the middle, the
// shoulders the upper buttons under the forefingers).
// clang-format off
enum class PadButton {
    A, B, X, Y, Back, Start, Up, Down, Left, Right,
    LeftShoulder, RightShoulder,  // LB and RB
    LeftStick,                    // the left stick pressed down
};
// clang-format on

// One thing the player or the system did, addressed to a window. Keys and a controller's
// buttons come as they are; the binding table says what each asks of the game.
struct InputEvent {
    enum class Type {
        MouseMove,
        MouseDown,
        MouseUp,
        Key,  // a key pressed (not held on): `key`, with the `modifiers` held
        Pad,  // a controller's button pressed: `button` (A is the mouse's button instead)
        // A finger on a touch screen: put down, moved, lifted, at `x`, `y`, with the `reach` of
        // its slop. The mouse events SDL makes of it never come as well.
        TouchDown,
        TouchMove,
        TouchUp,

        Wheel,  // the mouse's wheel turned by `wheel` notches (away from the player: positive)

        CloseRequest,  // the window manager asked this window to close
        Quit,          // the system asked the program to end (a signal, the session ending)
    };
    Type type = Type::MouseMove;
    WindowId window = 0;  // keys: the window in front, or 0 where no window of the game is
    int x = 0, y = 0;     // the pointer in the window, logical pixels
    Key key = Key::Enter;
    Modifiers modifiers = {};
    PadButton button = PadButton::A;
    // A touch: how far (logical pixels) a tap may land from a hotspot and still be meant for it,
    // kFingerReachCss as the platform's screen shows logical pixels.
    int reach = 0;
    int wheel = 0;
};

// A finger put down or lifted as the mouse's button pressed or let go at the same place: what a
// small window of buttons (the box, the notebook) makes of a tap.
inline InputEvent touchAsMouse(InputEvent touch) {
    touch.type = touch.type == InputEvent::Type::TouchDown ? InputEvent::Type::MouseDown
                                                           : InputEvent::Type::MouseUp;
    return touch;
}

// A finger's slop, in the pixels of a page (CSS pixels: at a desktop's usual density, a screen's).
inline constexpr int kFingerReachCss = 16;
// The slop in logical pixels where a logical pixel takes `windowPerLogical` pixels of the
// window and a CSS pixel `windowPerCss` of them (at least one logical pixel).
inline int fingerReach(double windowPerLogical, double windowPerCss) {
    const double reach = kFingerReachCss * windowPerCss / windowPerLogical;
    return reach < 1 ? 1 : static_cast<int>(reach + 0.5);
}

// The screen the game was laid out on, in logical pixels. On any screen its windows keep their
// places beside each other in an area of this size (the arrangement), and the stage is one.
inline constexpr int kArrangementWidth = 1280;
inline constexpr int kArrangementHeight = 800;

// The scene windows the game will open, in logical pixels: what must fit on the screen at the
// display scale.
struct WindowPlan {
    int widest = 0, tallest = 0;  // the largest client width and height of the centred scenes
    std::vector<Rect> fixed;      // the windows placed at a fixed point of the arrangement
    std::string title;            // the game's name, for a platform that shows it in one window
};

// Words the game says to a player who may not see the screen, as they come: a screen reader's
// live region in the page, speech on the desktop when the player asked for it.
struct Announcement {
    enum class Kind {
        NameLine,    // the name of the thing under the pointer or the mark, as it changes
        Subtitle,    // a clip's words as it starts (speech leaves them: the clip is heard)
        MessageBox,  // a box's text as it opens
        MenuEntry,   // the words of the control the mark stands on
        Notebook,    // the notebook's lines as it opens
        Hint,        // a hint asked for
    };
    Kind kind = Kind::NameLine;
    std::string text;      // in the language being played; empty clears the name line
    std::string language;  // that language's code ("cs", "en")
};

// What the player has turned on or off, for a platform that shows it beside the game: the
// page's buttons for fingers light the ones that are on.
struct Switches {
    bool subtitles = true, sound = true, names = true, hotspots = false;
    friend bool operator==(const Switches&, const Switches&) = default;
};

// Draws a window's pixels whenever the platform needs them.
class WindowPainter {
  public:
    virtual ~WindowPainter() = default;
    // Draws the whole client area of `window` into `canvas`, which has the client size and
    // the platform's display scale.
    virtual void paint(WindowId window, Canvas& canvas) = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Milliseconds on the game's clock (virtual in the headless twin).
    virtual std::uint64_t now() = 0;

    // Waits for the next input, at most until `deadline` (absolute ms on now()'s clock), or
    // forever when there is none; returns nothing when the deadline passed first. The real
    // platform sleeps in the system meanwhile; the headless twin advances its clock, and with
    // neither input nor deadline returns nothing at once (nothing can happen any more).
    virtual std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) = 0;
    // When the platform must be waited on again though no input comes (its sound device looked
    // at, to close once quiet): a page's loop, which rests between the browser's frames, wakes
    // then. Nothing when only input matters.
    virtual std::optional<std::uint64_t> ownDeadline() { return std::nullopt; }

    // Settles the display scale of the run (how many screen pixels a logical pixel takes)
    // before the first scene window opens: the one the desktop asks for, lowered until these
    // windows fit the screen. Returns it; the game draws its pictures for it.
    virtual int fitScale(const WindowPlan& plan) = 0;

    // The primary display's usable area in logical pixels, for placing windows.
    virtual Rect usableBounds() = 0;
    // Where the arrangement lies on the screen, in logical pixels: kArrangementWidth x
    // kArrangementHeight centred on the usable area, moved just enough for every window of the
    // plan to lie on it. The fixed places are measured from its corner and the other scenes
    // centred in it, so that every window keeps its place beside the others on any screen.
    // Settled with the scale.
    virtual Rect arrangement() = 0;

    // Creates a borderless, hidden window of exactly the client size at the given position,
    // whose pixels `painter` draws (it must outlive the window). Throws when it cannot.
    virtual WindowId openWindow(const WindowRequest& request, WindowPainter& painter) = 0;
    // Makes the window visible, raises it above the others and gives it the keyboard focus (a
    // subtitle window only comes to the top: the player goes on typing where he was).
    virtual void showWindow(WindowId window) = 0;
    // Destroys the window; its id is never used again.
    virtual void closeWindow(WindowId window) = 0;
    // The window's pixels changed: the platform asks its painter for them when it needs them
    // (a desktop at once, into the window itself; the headless twin when a test looks).
    virtual void invalidate(WindowId window) = 0;

    // Shows a shared cursor (absolute path of its 1x PNG, hotspot at 0,0); empty = the arrow.
    virtual void setCursor(const std::string& cursorFile) = 0;
    // The stage's own keys, as the binding table asks: its window between fullscreen and a
    // window of the desktop, and the next of the game's windows to the front. Nothing where
    // every game window is a window of the desktop, whose window manager does both.
    virtual void toggleFullscreen() = 0;
    virtual void nextWindow() = 0;

    // Puts the pointer on a pixel of the window (logical pixels), as the keyboard's mark takes
    // it along; where the system lets no program move the pointer, nothing happens.
    virtual void movePointer(WindowId window, int x, int y) = 0;

    // Starts the WAV file at `file`, cutting off the clip still playing. A file that is
    // missing or unplayable gives a short alert tone; without an audio device, silence.
    // Never waits.
    virtual void playSound(const std::string& file) = 0;
    // Cuts off the clip playing, if any.
    virtual void stopSound() = 0;

    // Where the game's face lies on this system; asked once, when text is first drawn.
    virtual FontFiles fontFiles() = 0;

    // Tells the player's screen reader or speech what the game just said or showed; where the
    // player has neither, nothing. Never waits.
    virtual void announce(const Announcement& announcement) { static_cast<void>(announcement); }
    // Whether the desktop speaks the announcements aloud (S, --speak); a clip's words never,
    // as the clip is heard. Where there is no speech, nothing.
    virtual void speakAnnouncements(bool on) { static_cast<void>(on); }

    // Whether every file the game reads after its menu is there: a page fetches the places'
    // pictures once the menu shows, and says when they have come (waking a resting loop);
    // elsewhere they always are.
    virtual bool dataArrived() { return true; }

    // What the player has on or off now, told at the start and after every change; where
    // nothing beside the game shows it, nothing.
    virtual void showSwitches(const Switches& switches) { static_cast<void>(switches); }

    // Hands the address to the desktop's opener without waiting; failures are ignored.
    virtual void openUrl(const std::string& url) = 0;

    // Shows a fatal error in the window system's own simple box, which needs none of the
    // game's fonts, and returns when it is closed; for the error the game cannot draw itself.
    virtual void showPlainError(std::string_view title, std::string_view text) = 0;
};

}  // namespace orval
