// The stage: every window of the game inside one window of the desktop, laid out as on the
// 1280 x 800 screen of the arrangement. This is its plain part, without SDL, so that the
// headless tests check it: the window stack, what a pixel of the stage window reaches, what
// must be composed again, and where the picture of the whole stage lands in a window of any size.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "scenes/model/geometry.h"
#include "shell/platform/window_stack.h"

namespace orval {

class Stage {
  public:
    // The screen the game's windows are laid out on, in logical pixels: the arrangement.
    static constexpr int kWidth = kArrangementWidth;
    static constexpr int kHeight = kArrangementHeight;
    // The strip along the bottom edge with a small picture of each open scene window, so a
    // player can bring any of them forward (nothing the game places reaches down there).
    static constexpr int kStripHeight = 60;
    static constexpr int kThumbWidth = 96;
    static constexpr int kThumbHeight = 48;

    // How the stage drawn at display scale `scale` lies in the window: at exactly that scale
    // where the window has room (centred, dark around it), otherwise scaled down to fit.
    struct Presentation {
        Rect area;          // where the stage lies in the window, in window pixels
        bool exact = true;  // each logical pixel is scale x scale window pixels
    };
    static Presentation present(int scale, int windowWidth, int windowHeight);
    // How an area of the stage shown alone lies in the window: as large as the window holds
    // it, keeping its shape, centred.
    static Presentation presentAlone(const Rect& view, int windowWidth, int windowHeight);
    // The largest display scale, up to `largest`, at which the whole stage fits in the area;
    // 1 when even that does not fit (the stage is then scaled down).
    static int fittingScale(int largest, int width, int height);

    explicit Stage(int scale = 1) : scale_(scale) {}

    int scale() const { return scale_; }
    // The window of the stage has this many pixels now.
    void resize(int windowWidth, int windowHeight);
    const Presentation& presentation() const { return presentation_; }

    // A phone's page: the window in front shown alone, as large as the window holds it, with
    // the small windows that opened over it (the conversation over the shop, the headquarters
    // over the map, a box) and the subtitles laid over its lower edge; the other windows wait
    // as handles along the left edge, a tap away. Otherwise the whole stage is shown.
    void showFrontAlone(bool alone);
    bool showsFrontAlone() const { return frontAlone_; }
    // The area of the stage the window shows, in logical pixels.
    const Rect& view() const { return view_; }

    // Game windows, in logical pixels of the stage.
    void open(WindowId id, WindowKind kind, const Rect& place, bool aside = false);
    void close(WindowId id);
    // Shows it, in front of its layer (a click, a show, Ctrl+Tab).
    void raise(WindowId id);
    // Its pixels changed.
    void changed(WindowId id);
    const WindowStack& stack() const { return stack_; }

    // What a pointer at a pixel of the stage window reaches: a game window and the logical point
    // in it. While the button is held everything goes to the window it was pressed in, as on a
    // desktop; a press raises the window it lands in, as a window manager would.
    struct Pointed {
        std::optional<WindowPoint> hit;       // the game window, or none (the background)
        std::optional<WindowId> thumbnailOf;  // a thumbnail of the strip under the pointer
    };
    Pointed pointerMoved(int windowX, int windowY);
    Pointed pointerPressed(int windowX, int windowY);
    Pointed pointerReleased(int windowX, int windowY);
    // Ctrl+Tab: the scene window that lies furthest back comes to the front.
    std::optional<WindowId> cycle();

    // The open scene windows in the strip, in the order they opened, with their thumbnails.
    struct Thumbnail {
        WindowId window = 0;
        Rect place;          // logical pixels of the stage: the frame a click on it hits
        Rect picture;        // the window drawn small inside it, keeping its shape
        bool front = false;  // the window the keys go to
    };
    std::vector<Thumbnail> thumbnails() const;
    // Handles of the scene windows outside the view while the front is shown alone, in pixels
    // of the stage window (a fingertip's size), top first.
    static constexpr int kHandleWidth = 72;
    static constexpr int kHandleHeight = 48;
    std::vector<Thumbnail> handles() const;

    // The logical areas that must be composed again since last asked, then forgets them.
    std::vector<Rect> takeDirty();
    // A logical area of the stage as pixels of the stage window (grown to whole pixels).
    Rect toWindow(const Rect& logical) const;
    // A pixel of the stage window as a logical point of the stage (outside it: negative or
    // beyond its size).
    Point toStage(int windowX, int windowY) const;

  private:
    void dirty(const Rect& area);
    // The view follows the window in front: laid out anew where it moved.
    void follow();
    // The window shown alone with the small ones over it: the front window, or the window
    // behind that holds it when it is much smaller (a box, the conversation).
    Rect frontGroup() const;
    void stripChanged();
    Pointed pointAt(int windowX, int windowY) const;

    int scale_;
    Presentation presentation_{{0, 0, kWidth, kHeight}, true};
    int windowWidth_ = kWidth, windowHeight_ = kHeight;
    bool frontAlone_ = false;
    Rect view_{0, 0, kWidth, kHeight};
    std::vector<std::pair<WindowId, Rect>> subtitlesPlace_;  // where each was opened
    std::vector<WindowId> aside_;           // windows kept beside the others (the inventory)
    std::optional<WindowId> broughtAside_;  // the one of them the player brought forward
    WindowStack stack_;
    std::vector<WindowId> opened_;  // scene windows in the order they opened
    std::optional<WindowId> grab_;  // the window the button was pressed in
    std::vector<Rect> dirty_;
};

}  // namespace orval
