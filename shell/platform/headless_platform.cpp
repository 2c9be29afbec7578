#include "shell/platform/headless_platform.h"

#include <algorithm>
#include <stdexcept>

#include "shell/platform/display_scale.h"

namespace orval {

std::optional<InputEvent> HeadlessPlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    if (!input_.empty()) {
        const Queued& next = input_.front();
        // Input scripted for later waits for its moment, unless the deadline comes first.
        if (next.at && *next.at > clock_) {
            if (deadline && *deadline < *next.at) {
                clock_ = std::max(clock_, *deadline);
                return std::nullopt;
            }
            clock_ = *next.at;
        }
        InputEvent event = next.event;
        input_.pop_front();
        event.x = toLogical(event.x, scale_);
        event.y = toLogical(event.y, scale_);
        return event;
    }
    // Nothing scripted: time passes at once up to the deadline.
    if (deadline) clock_ = std::max(clock_, *deadline);
    return std::nullopt;
}

int HeadlessPlatform::fitScale(const WindowPlan& plan) {
    scale_ = fittingScale(scale_, screen_, plan);
    return scale_;
}

Rect HeadlessPlatform::usableBounds() { return logicalArea(screen_, scale_); }

WindowId HeadlessPlatform::openWindow(const WindowRequest& request, WindowPainter& painter) {
    const WindowId id = nextWindow_++;
    windows_.emplace(id, Window{request, placeOnScreen(request, screen_, scale_), &painter, false,
                                true, std::nullopt, true});
    return id;
}

void HeadlessPlatform::showWindow(WindowId window) {
    Window& w = windows_.at(window);
    w.visible = true;
    stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
    stacking_.insert(stacking_.begin(), window);
    if (w.request.kind != WindowKind::MessageBox) return;

    // The player reads the box and presses its OK button, before anything else happens.
    Message message{w.request.title,    w.request.text, clock_,
                    w.request.okButton, std::nullopt,   false};
    if (keepMessagePixels_) {
        Canvas canvas(w.request.width, w.request.height, scale_);
        w.painter->paint(window, canvas);
        message.pixels.emplace(std::move(canvas));
    }
    messages_.push_back(std::move(message));
    const Rect& ok = w.request.okButton;
    const int x = (ok.x + ok.w / 2) * scale_;
    const int y = (ok.y + ok.h / 2) * scale_;
    const std::uint64_t at = clock_ + readingTime_;
    input_.push_front({{InputEvent::Type::MouseUp, window, x, y}, at});
    input_.push_front({{InputEvent::Type::MouseDown, window, x, y}, at});
}

void HeadlessPlatform::closeWindow(WindowId window) {
    Window& w = windows_.at(window);
    if (w.request.kind == WindowKind::Subtitles) setSubtitle(window, "", "");
    w.open = false;
    w.visible = false;
    w.painter = nullptr;
    w.pixels.reset();  // a closed window shows nothing, and long explorations stay small
    stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
}

void HeadlessPlatform::invalidate(WindowId window) {
    Window& w = windows_.at(window);
    if (!w.open) throw std::logic_error("drawing into a closed window");
    w.stale = true;
}

const Canvas& HeadlessPlatform::pixels(WindowId id) {
    Window& w = windows_.at(id);
    if (!w.open) throw std::logic_error("a closed window shows nothing");
    if (!w.pixels) w.pixels.emplace(w.request.width, w.request.height, scale_);
    if (w.stale) {
        w.painter->paint(id, *w.pixels);
        w.stale = false;
    }
    return *w.pixels;
}

void HeadlessPlatform::playSound(const std::string& file) {
    if (audioBroken_) throw std::runtime_error("the audio layer is broken");
    sounds_.push_back({clock_, file, std::nullopt});
}

void HeadlessPlatform::stopSound() {
    if (!sounds_.empty() && !sounds_.back().stoppedAt) sounds_.back().stoppedAt = clock_;
}

void HeadlessPlatform::setSubtitle(WindowId window, std::string_view speaker,
                                   std::string_view text) {
    for (Subtitle& shown : subtitles_)
        if (shown.window == window && !shown.until) shown.until = clock_;
    if (!text.empty())
        subtitles_.push_back({window, std::string(speaker), std::string(text), clock_, {}});
}

std::vector<WindowId> HeadlessPlatform::visibleWindows() const {
    std::vector<WindowId> result;
    for (const WindowId id : stacking_) {
        const Window& w = windows_.at(id);
        if (w.visible && w.request.kind != WindowKind::Subtitles) result.push_back(id);
    }
    return result;
}

std::optional<WindowId> HeadlessPlatform::subtitleWindow() const {
    for (const auto& [id, w] : windows_)
        if (w.open && w.visible && w.request.kind == WindowKind::Subtitles) return id;
    return std::nullopt;
}

}  // namespace orval
