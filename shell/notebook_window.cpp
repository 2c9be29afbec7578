#include "shell/notebook_window.h"

#include <algorithm>

#include "shell/bindings.h"

namespace orval {
namespace {

// How far the arrow keys and a notch of the wheel move the text: three lines of it.
constexpr int kScrollStep = 45;

}  // namespace

NotebookWindow::NotebookWindow(Platform& platform, Fonts& fonts, NotebookPage page,
                               const Rect& over)
    : platform_(platform),
      fonts_(fonts),
      page_(std::move(page)),
      layout_(layoutNotebook(page_, fonts)) {
    WindowRequest request;
    request.kind = WindowKind::Notebook;
    request.title = page_.title;
    request.width = layout_.width;
    request.height = layout_.height;
    request.x = over.x + (over.w - request.width) / 2;
    request.y = over.y + (over.h - request.height) / 2;
    // On the screen whatever the place's size: a small place's notebook reaches past it.
    const Rect screen = platform_.usableBounds();
    request.x =
        std::clamp(request.x, screen.x, std::max(screen.x, screen.x + screen.w - request.width));
    request.y =
        std::clamp(request.y, screen.y, std::max(screen.y, screen.y + screen.h - request.height));
    window_ = platform_.openWindow(request, *this);
}

NotebookWindow::~NotebookWindow() { platform_.closeWindow(window_); }

void NotebookWindow::show() {
    platform_.invalidate(window_);
    platform_.showWindow(window_);
    platform_.setCursor("");
}

void NotebookWindow::replace(NotebookPage page) {
    page_ = std::move(page);
    layout_ = layoutNotebook(page_, fonts_);
    scroll_ = 0;
    platform_.invalidate(window_);
}

void NotebookWindow::scrollBy(int pixels) {
    const int next = std::clamp(scroll_ + pixels, 0, layout_.maxScroll());
    if (next == scroll_) return;
    scroll_ = next;
    platform_.invalidate(window_);
}

void NotebookWindow::paint(WindowId, Canvas& canvas) {
    renderNotebook(page_, fonts_, canvas, scroll_, held_ == Held::Ok, held_ == Held::Hint);
}

void NotebookWindow::handle(const InputEvent& event) {
    const bool onPage = event.window == window_;
    switch (event.type) {
        case InputEvent::Type::MouseMove:
            platform_.setCursor("");
            return;
        case InputEvent::Type::MouseDown:
            // A click outside closes it, as a page held up is put away.
            if (!onPage) {
                closed_ = true;
            } else if (layout_.okButton.contains(event.x, event.y)) {
                held_ = Held::Ok;
            } else if (layout_.hintButton.contains(event.x, event.y)) {
                held_ = Held::Hint;
            }
            platform_.invalidate(window_);
            return;
        case InputEvent::Type::MouseUp: {
            const Held was = std::exchange(held_, Held::None);
            if (!onPage || was == Held::None) return;
            platform_.invalidate(window_);
            if (was == Held::Ok && layout_.okButton.contains(event.x, event.y)) closed_ = true;
            if (was == Held::Hint && layout_.hintButton.contains(event.x, event.y))
                hintAsked_ = true;
            return;
        }
        case InputEvent::Type::Wheel:
            scrollBy(-event.wheel * kScrollStep);
            return;
        case InputEvent::Type::TouchDown:
        case InputEvent::Type::TouchUp: {
            // A finger presses the buttons and closes the page from outside as the mouse does.
            fingerY_ = event.type == InputEvent::Type::TouchDown && onPage
                           ? std::optional<int>(event.y)
                           : std::nullopt;
            InputEvent asMouse = event;
            asMouse.type = event.type == InputEvent::Type::TouchDown ? InputEvent::Type::MouseDown
                                                                     : InputEvent::Type::MouseUp;
            handle(asMouse);
            return;
        }
        case InputEvent::Type::TouchMove:
            // A swipe drags the lines along with the finger.
            if (!fingerY_ || !onPage) return;
            scrollBy(*fingerY_ - event.y);
            fingerY_ = event.y;
            held_ = Held::None;  // a swipe presses no button
            return;
        case InputEvent::Type::Key:
        case InputEvent::Type::Pad: {
            const std::optional<Action> action = actionOf(event);
            if (!action) return;
            switch (*action) {
                case Action::Up:
                case Action::Left:
                case Action::PreviousHotspot:
                    scrollBy(-kScrollStep);
                    return;
                case Action::Down:
                case Action::Right:
                case Action::NextHotspot:
                    scrollBy(kScrollStep);
                    return;
                case Action::OpenNotebook:  // N and the pad's button that opened it
                case Action::Cancel:        // Escape
                case Action::Activate:      // Enter
                case Action::SkipLine:      // Space and the pad's B
                case Action::Start:
                    closed_ = true;
                    return;
                case Action::AskHint:
                    hintAsked_ = true;
                    return;
                default:
                    return;
            }
        }
        case InputEvent::Type::CloseRequest:
            // Closing the page closes it; closing a scene window behind it ends the game.
            closed_ = true;
            quit_ = !onPage;
            return;
        case InputEvent::Type::Quit:
            closed_ = true;
            quit_ = true;
            return;
    }
}

}  // namespace orval
