#include "shell/runtime.h"

#include <algorithm>
#include <stdexcept>

#include "scenes/model/hit_test.h"
#include "scenes/model/loader.h"
#include "scenes/model/render.h"
#include "shell/odkaz.h"
#include "shell/wave.h"

namespace orval {
namespace {

// Thrown by End so that the rest of the running handler does not run.
struct EndRequest {};

// A failure inside a handler that ends the game with a report.
class GameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace

Runtime::Runtime(Platform& platform, std::filesystem::path baseDir, const HandlerRegistry& handlers,
                 std::vector<SceneDescription> descriptions)
    : platform_(platform),
      baseDir_(std::move(baseDir)),
      handlers_(handlers),
      pictures_(baseDir_ / "data") {
    for (SceneDescription& d : descriptions) {
        const std::string name = d.name;
        order_.push_back(name);
        scenes_.emplace(name, Entry{std::move(d), nullptr});
    }
}

Runtime::~Runtime() { closeEverything(); }

Runtime::Entry& Runtime::entry(std::string_view scene) {
    const auto it = scenes_.find(scene);
    if (it == scenes_.end()) throw GameError("the scene " + std::string(scene) + " does not exist");
    return it->second;
}

const Runtime::Entry& Runtime::entry(std::string_view scene) const {
    const auto it = scenes_.find(scene);
    if (it == scenes_.end()) throw GameError("the scene " + std::string(scene) + " does not exist");
    return it->second;
}

int Runtime::controlIndex(const Entry& e, std::string_view control) const {
    const int index = e.description.find(control);
    if (index < 0)
        throw GameError("the scene " + e.description.name + " has no control " +
                        std::string(control));
    return index;
}

LoadedScene& Runtime::ensureLoaded(std::string_view scene) {
    Entry& e = entry(scene);
    if (e.state) return *e.state;
    const SceneDescription& d = e.description;

    // The window is placed once, when the scene is built, and never moves afterwards.
    WindowRequest request;
    request.title = d.caption;
    request.width = d.clientWidth;
    request.height = d.clientHeight;
    if (d.placement == Placement::Manual) {
        request.x = d.clientLeft;
        request.y = d.clientTop;
    } else {
        const Rect screen = platform_.usableBounds();
        request.x = screen.x + (screen.w - d.clientWidth) / 2;
        request.y = screen.y + (screen.h - d.clientHeight) / 2;
    }
    if (!d.icon.empty()) request.iconFile = (baseDir_ / "data" / d.icon).string();

    // Decode every picture now, so a damaged file fails at load and clicks stay instant.
    if (!d.picture.empty()) pictures_.get(d.picture);
    for (const ControlDescription& c : d.controls)
        if (!c.picture.empty()) pictures_.get(c.picture);

    auto state = std::make_unique<LoadedScene>();
    state->flags = initialFlags(d);
    state->timerDeadline.resize(d.controls.size());
    state->generation = nextGeneration_++;
    const std::uint64_t now = platform_.now();
    for (std::size_t i = 0; i < d.controls.size(); ++i)
        if (d.controls[i].kind == ControlKind::Timer && d.controls[i].enabled)
            state->timerDeadline[i] = now + static_cast<std::uint64_t>(d.controls[i].intervalMs);
    state->window = platform_.openWindow(request);
    e.state = std::move(state);

    if (const auto it = d.handlers.find(EventKind::Load); it != d.handlers.end())
        callHandler(d.name, it->second);
    return *entry(scene).state;  // the Load handler may not unload its own scene, but look again
}

void Runtime::callHandler(const std::string& scene, const std::string& handler) {
    const Handler code = handlers_.find(scene, handler);
    if (!code) throw GameError("no code for the handler " + handler + " of " + scene);
    code(*this);
}

void Runtime::show(std::string_view scene) {
    LoadedScene& s = ensureLoaded(scene);
    // Draw before showing, so the window never appears empty.
    const std::string name(scene);
    Canvas canvas = render(name);
    platform_.present(s.window, canvas);
    s.dirty = false;
    s.visible = true;
    platform_.showWindow(s.window);
}

void Runtime::unload(std::string_view scene) {
    Entry& e = entry(scene);
    if (!e.state) return;
    const WindowId window = e.state->window;
    e.state.reset();
    platform_.closeWindow(window);
    if (press_ && press_->scene == scene) press_.reset();
    const bool anyLoaded = std::any_of(scenes_.begin(), scenes_.end(), [](const auto& item) {
        return item.second.state != nullptr;
    });
    if (!anyLoaded) finished_ = true;  // the running handler finishes, then the program ends
}

void Runtime::end() { throw EndRequest{}; }

void Runtime::setVisible(std::string_view scene, std::string_view control, bool visible) {
    LoadedScene& s = ensureLoaded(scene);
    const int index = controlIndex(entry(scene), control);
    ControlFlags& flags = s.flags[static_cast<std::size_t>(index)];
    if (flags.visible == visible) return;
    flags.visible = visible;
    s.dirty = true;
}

void Runtime::setEnabled(std::string_view scene, std::string_view control, bool enabled) {
    LoadedScene& s = ensureLoaded(scene);
    const Entry& e = entry(scene);
    const int index = controlIndex(e, control);
    const auto i = static_cast<std::size_t>(index);
    const ControlDescription& c = e.description.controls[i];
    if (c.kind == ControlKind::Timer) {
        // Enabling a timer that already ticks keeps its countdown: a second pistol shot
        // does not put the final screen off.
        if (enabled && !s.timerDeadline[i])
            s.timerDeadline[i] = platform_.now() + static_cast<std::uint64_t>(c.intervalMs);
        if (!enabled) s.timerDeadline[i].reset();
    }
    if (s.flags[i].enabled != enabled && c.kind == ControlKind::CommandButton) s.dirty = true;
    s.flags[i].enabled = enabled;
}

bool Runtime::isVisible(std::string_view scene, std::string_view control) {
    LoadedScene& s = ensureLoaded(scene);
    return s.flags[static_cast<std::size_t>(controlIndex(entry(scene), control))].visible;
}

void Runtime::messageBox(std::string_view text, std::string_view title) {
    presentDirty();  // the player sees what led to the message
    platform_.messageBox(title, text);
}

void Runtime::playSound(std::string_view path) { playWave(platform_, baseDir_, path); }

void Runtime::openLink(std::string_view address) { OpenLink(platform_, address); }

bool Runtime::isLoaded(std::string_view scene) const { return entry(scene).state != nullptr; }

const LoadedScene* Runtime::loaded(std::string_view scene) const {
    return entry(scene).state.get();
}

const SceneDescription& Runtime::description(std::string_view scene) const {
    return entry(scene).description;
}

bool Runtime::flagVisible(std::string_view scene, std::string_view control) const {
    const Entry& e = entry(scene);
    if (!e.state) throw GameError(std::string(scene) + " is not loaded");
    return e.state->flags[static_cast<std::size_t>(controlIndex(e, control))].visible;
}

bool Runtime::flagEnabled(std::string_view scene, std::string_view control) const {
    const Entry& e = entry(scene);
    if (!e.state) throw GameError(std::string(scene) + " is not loaded");
    const auto i = static_cast<std::size_t>(controlIndex(e, control));
    if (e.description.controls[i].kind == ControlKind::Timer)
        return e.state->timerDeadline[i].has_value();
    return e.state->flags[i].enabled;
}

std::optional<std::string> Runtime::sceneOfWindow(WindowId window) const {
    for (const auto& [name, e] : scenes_)
        if (e.state && e.state->window == window) return name;
    return std::nullopt;
}

Canvas Runtime::render(std::string_view scene, const RenderOptions& options) {
    const Entry& e = entry(scene);
    if (!e.state) throw GameError(std::string(scene) + " is not loaded");
    Canvas canvas(e.description.clientWidth, e.description.clientHeight);
    RenderOptions effective = options;
    effective.buttonHasFocus = true;  // the one command button always holds its window's focus
    renderScene(e.description, e.state->flags, pictures_, fonts_, canvas, effective);
    return canvas;
}

void Runtime::presentDirty() {
    for (auto& [name, e] : scenes_) {
        if (!e.state || !e.state->visible || !e.state->dirty) continue;
        Canvas canvas = render(name);
        platform_.present(e.state->window, canvas);
        e.state->dirty = false;
    }
}

void Runtime::updateCursor(const std::string& scene, int x, int y) {
    const Entry& e = entry(scene);
    if (!e.state) return;
    const int hit = hitTest(e.description, e.state->flags, x, y);
    const std::string cursor = hit == kNoControl
                                   ? std::string()
                                   : e.description.controls[static_cast<std::size_t>(hit)].cursor;
    platform_.setCursor(cursor.empty() ? std::string()
                                       : (baseDir_ / "data" / cursorFile(cursor)).string());
}

void Runtime::handleInput(const InputEvent& event) {
    const std::optional<std::string> found = sceneOfWindow(event.window);
    if (!found) return;  // a window that closed meanwhile
    const std::string scene = *found;
    const Entry& e = entry(scene);
    const SceneDescription& d = e.description;
    switch (event.type) {
        case InputEvent::Type::CloseRequest:
            end();  // closing any scene window ends the game like "X"
        case InputEvent::Type::Expose:
            e.state->dirty = true;
            return;
        case InputEvent::Type::KeyActivate:
            // Space or Enter presses the command button, which holds its window's focus.
            for (std::size_t i = 0; i < d.controls.size(); ++i) {
                const ControlDescription& c = d.controls[i];
                if (c.kind != ControlKind::CommandButton || !e.state->flags[i].visible ||
                    !e.state->flags[i].enabled)
                    continue;
                if (const auto it = c.handlers.find(EventKind::Click); it != c.handlers.end())
                    callHandler(scene, it->second);
                return;
            }
            return;
        case InputEvent::Type::MouseMove: {
            const int hit = hitTest(d, e.state->flags, event.x, event.y);
            const auto& handlers =
                hit == kNoControl ? d.handlers : d.controls[static_cast<std::size_t>(hit)].handlers;
            if (const auto it = handlers.find(EventKind::MouseMove); it != handlers.end())
                callHandler(scene, it->second);
            if (isLoaded(scene)) updateCursor(scene, event.x, event.y);
            return;
        }
        case InputEvent::Type::MouseDown:
            press_ =
                Press{scene, hitTest(d, e.state->flags, event.x, event.y), e.state->generation};
            return;
        case InputEvent::Type::MouseUp: {
            // A click is a press and a release on the same control of the same loaded scene.
            const std::optional<Press> press = press_;
            press_.reset();
            const int hit = hitTest(d, e.state->flags, event.x, event.y);
            if (!press || press->scene != scene || press->control != hit ||
                press->generation != e.state->generation || hit == kNoControl)
                return;
            const auto& handlers = d.controls[static_cast<std::size_t>(hit)].handlers;
            if (const auto it = handlers.find(EventKind::Click); it != handlers.end())
                callHandler(scene, it->second);
            if (isLoaded(scene)) updateCursor(scene, event.x, event.y);
            return;
        }
    }
}

std::optional<std::uint64_t> Runtime::nextDeadline() const {
    std::optional<std::uint64_t> next;
    for (const auto& [name, e] : scenes_) {
        if (!e.state) continue;
        for (const auto& deadline : e.state->timerDeadline)
            if (deadline && (!next || *deadline < *next)) next = deadline;
    }
    return next;
}

bool Runtime::fireDueTimer(std::uint64_t limit) {
    // The earliest due timer first; equal deadlines in scene and control order.
    const std::string* dueScene = nullptr;
    std::size_t dueControl = 0;
    std::uint64_t dueAt = 0;
    for (const std::string& name : order_) {
        const Entry& e = scenes_.find(name)->second;
        if (!e.state) continue;
        for (std::size_t i = 0; i < e.state->timerDeadline.size(); ++i) {
            const auto& deadline = e.state->timerDeadline[i];
            if (deadline && *deadline <= limit && (!dueScene || *deadline < dueAt)) {
                dueScene = &name;
                dueControl = i;
                dueAt = *deadline;
            }
        }
    }
    if (!dueScene) return false;
    const std::string scene = *dueScene;
    Entry& e = entry(scene);
    const ControlDescription& timer = e.description.controls[dueControl];
    // It keeps ticking every interval while enabled; the handler may disable it.
    e.state->timerDeadline[dueControl] = dueAt + static_cast<std::uint64_t>(timer.intervalMs);
    if (const auto it = timer.handlers.find(EventKind::Timer); it != timer.handlers.end())
        callHandler(scene, it->second);
    return true;
}

void Runtime::guarded(const std::function<void()>& work) {
    if (finished_) return;
    try {
        work();
    } catch (const EndRequest&) {
        finished_ = true;
    } catch (const std::exception& error) {
        finished_ = true;
        exitStatus_ = 1;
        fatalMessage_ = error.what();
    }
    if (!finished_) {
        try {
            presentDirty();
        } catch (const std::exception& error) {
            finished_ = true;
            exitStatus_ = 1;
            fatalMessage_ = error.what();
        }
    }
}

void Runtime::closeEverything() {
    press_.reset();
    for (auto& [name, e] : scenes_) {
        if (!e.state) continue;
        const WindowId window = e.state->window;
        e.state.reset();
        platform_.closeWindow(window);
    }
}

int Runtime::run(std::string_view firstScene) {
    const std::string first(firstScene);
    guarded([&] { show(first); });
    // With the menu up, decode every other picture now, so that no click later waits for a
    // file (and a damaged one is reported at once).
    guarded([&] {
        for (const auto& [name, e] : scenes_) {
            if (!e.description.picture.empty()) pictures_.get(e.description.picture);
            for (const ControlDescription& c : e.description.controls)
                if (!c.picture.empty()) pictures_.get(c.picture);
        }
    });
    while (!finished_) {
        const std::optional<std::uint64_t> deadline = nextDeadline();
        if (deadline && *deadline <= platform_.now()) {
            guarded([&] { fireDueTimer(platform_.now()); });
            continue;
        }
        const std::optional<InputEvent> event = platform_.waitEvent(deadline);
        if (event) {
            guarded([&] { handleInput(*event); });
        } else if (!deadline) {
            break;  // nothing can ever happen again (the headless twin ran out of input)
        }
    }
    closeEverything();
    if (exitStatus_ != 0) platform_.reportFatal(fatalMessage_);
    return exitStatus_;
}

bool Runtime::runFor(std::uint64_t ms) {
    const std::uint64_t until = platform_.now() + ms;
    while (!finished_) {
        const std::optional<std::uint64_t> deadline = nextDeadline();
        if (deadline && *deadline <= platform_.now()) {
            guarded([&] { fireDueTimer(platform_.now()); });
            continue;
        }
        const std::optional<std::uint64_t> wait =
            deadline && *deadline <= until ? deadline : std::optional<std::uint64_t>(until);
        const std::optional<InputEvent> event = platform_.waitEvent(wait);
        if (event) {
            guarded([&] { handleInput(*event); });
            continue;
        }
        // Time is up, but a timer due at this very moment still ticks before we stop.
        const std::optional<std::uint64_t> due = nextDeadline();
        if (platform_.now() >= until && !(due && *due <= platform_.now())) break;
    }
    if (finished_) closeEverything();
    return !finished_;
}

}  // namespace orval
