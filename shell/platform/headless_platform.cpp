#include "shell/platform/headless_platform.h"

#include <algorithm>
#include <stdexcept>

namespace orval {

std::optional<InputEvent> HeadlessPlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    if (!input_.empty()) {
        const InputEvent event = input_.front();
        input_.pop_front();
        return event;
    }
    // Nothing scripted: time passes at once up to the deadline.
    if (deadline) clock_ = std::max(clock_, *deadline);
    return std::nullopt;
}

WindowId HeadlessPlatform::openWindow(const WindowRequest& request) {
    const WindowId id = nextWindow_++;
    windows_.emplace(id, Window{request, false, true, std::nullopt});
    return id;
}

void HeadlessPlatform::showWindow(WindowId window) {
    Window& w = windows_.at(window);
    w.visible = true;
    stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
    stacking_.insert(stacking_.begin(), window);
}

void HeadlessPlatform::closeWindow(WindowId window) {
    Window& w = windows_.at(window);
    w.open = false;
    w.visible = false;
    w.content.reset();  // a closed window shows nothing, and long explorations stay small
    stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
}

void HeadlessPlatform::present(WindowId window, const Canvas& canvas) {
    Window& w = windows_.at(window);
    if (!w.open) throw std::logic_error("drawing into a closed window");
    Canvas copy(canvas.width(), canvas.height());
    copy.draw(canvas.surface(), 0, 0, copy.bounds());
    w.content.emplace(std::move(copy));
}

void HeadlessPlatform::messageBox(std::string_view title, std::string_view text) {
    // The player reads it and presses OK at once.
    messages_.push_back({std::string(title), std::string(text), clock_});
}

void HeadlessPlatform::playSound(const std::string& file) {
    if (audioBroken_) throw std::runtime_error("the audio layer is broken");
    sounds_.push_back({clock_, file});
}

std::vector<WindowId> HeadlessPlatform::visibleWindows() const {
    std::vector<WindowId> result;
    for (const WindowId id : stacking_)
        if (windows_.at(id).visible) result.push_back(id);
    return result;
}

}  // namespace orval
