// The notebook's window (N): over the place in front, above every scene while it is open; the
// runtime hands it every input meanwhile and no timer ticks, as for the message box. It asks
// for nothing itself: the runtime reads whether it was closed or a hint asked for.
#pragma once

#include <optional>
#include <utility>

#include "scenes/model/notebook.h"
#include "scenes/model/text.h"
#include "shell/platform/platform.h"

namespace orval {

class NotebookWindow final : private WindowPainter {
  public:
    // Opens the window, hidden, centred over `over` (the place in front, on the screen).
    // Throws when its text cannot be laid out (no font) or its window cannot be opened.
    NotebookWindow(Platform& platform, Fonts& fonts, NotebookPage page, const Rect& over);
    ~NotebookWindow() override;
    NotebookWindow(const NotebookWindow&) = delete;
    NotebookWindow& operator=(const NotebookWindow&) = delete;

    // Brings it to the front, drawn, with the plain arrow as the pointer.
    void show();
    // Takes one input of the whole game.
    void handle(const InputEvent& event);
    // The page again (a hint added), scrolled to its top, where the hint is.
    void replace(NotebookPage page);
    // Moves the text by `pixels` (up: positive), within the page: the arrow keys and the wheel
    // come through handle(); a finger's swipe is handed here by whoever reads it.
    void scrollBy(int pixels);

    // N, Escape, Enter, Space, the pad's B, OK, a click outside or closing a window closed it.
    bool closed() const { return closed_; }
    // The player or the system asked to end the program while it was open.
    bool quitRequested() const { return quit_; }
    // F2 or the hint button: the runtime adds the next step, then forgets the question.
    bool takeHintAsked() { return std::exchange(hintAsked_, false); }
    // Gives up on the page (it cannot be drawn, so it cannot hold the game).
    void abandon() { closed_ = true; }

    WindowId window() const { return window_; }
    const NotebookPage& page() const { return page_; }
    int scroll() const { return scroll_; }
    const NotebookLayout& layout() const { return layout_; }

  private:
    void paint(WindowId window, Canvas& canvas) override;

    Platform& platform_;
    Fonts& fonts_;
    NotebookPage page_;
    NotebookLayout layout_;
    WindowId window_ = 0;
    int scroll_ = 0;
    enum class Held { None, Ok, Hint } held_ = Held::None;  // the button pressed down
    std::optional<int> fingerY_;  // where the finger on the page was last, while it is down
    bool closed_ = false;
    bool quit_ = false;
    bool hintAsked_ = false;
};

}  // namespace orval
