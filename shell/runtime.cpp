#include "shell/runtime.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "scenes/model/hit_test.h"
#include "scenes/model/loader.h"
#include "scenes/model/names.h"
#include "scenes/model/utf8_path.h"
#include "shell/odkaz.h"
#include "shell/scene_files.h"
#include "shell/wave.h"
#include "shell/window_placement.h"

namespace orval {
namespace {

// Thrown by End so that the rest of the running handler does not run.
struct EndRequest {};

// Thrown by End while a box is open: the end is kept for after the box, and nothing after it in
// the handler would run anyway.
struct EndKeptForLater {};

// A failure inside a handler that ends the game with a report.
class GameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace

Runtime::Runtime(Platform& platform, std::filesystem::path baseDir, const HandlerRegistry& handlers,
                 std::vector<SceneDescription> descriptions, Captions captions,
                 StartOptions options)
    : platform_(platform),
      baseDir_(std::move(baseDir)),
      languages_(baseDir_, std::move(options.language), soundClips()),
      handlers_(handlers),
      pictures_(baseDir_ / "data"),
      muted_(!options.sound),
      choicesChanged_(std::move(options.choicesChanged)),
      namesShown_(options.names) {
    speech_ = options.speech;
    platform_.speakAnnouncements(speech_);
    addDescriptions(std::move(descriptions));
    subtitles_.setCaptions(std::move(captions));
    subtitles_.turn(options.subtitles);
}

Runtime::~Runtime() { closeEverything(); }

void Runtime::addDescriptions(std::vector<SceneDescription> descriptions) {
    roles_ = gameRoles(descriptions);
    for (SceneDescription& d : descriptions) {
        const std::string name = d.name;
        const int order = static_cast<int>(order_.size());
        order_.push_back(name);
        SceneDescription shown = d;
        scenes_.emplace(name, Entry{std::move(d), std::move(shown), order, nullptr});
    }
    if (languages_.isRead()) localiseAll();
}

const Language& Runtime::spoken() {
    if (!languages_.isRead()) {
        languages_.spoken();
        localiseAll();
    }
    return languages_.spoken();
}

void Runtime::localiseAll() {
    for (auto& [name, e] : scenes_) {
        e.description = languages_.localise(e.source);
        if (e.state && e.state->visible) e.state->dirty = true;
    }
    subtitles_.setWording(languages_.fixedText(kSubtitlesTitle), languages_.speakerNames(),
                          languages_.code());
}

void Runtime::setLanguage(std::string_view code) {
    if (keptForLater([this, c = std::string(code)] { setLanguage(c); })) return;
    const Language& next = languages_.of(code);
    if (&next == &spoken()) return;
    // Read before anything changes: damaged subtitles leave the game as it was.
    Captions captions = loadCaptions(baseDir_ / next.captionsFile(), soundClips());
    languages_.speak(code);
    subtitles_.stop();  // the words of the clip playing were of the other language
    subtitles_.setCaptions(std::move(captions));
    localiseAll();
    choicesChanged();
}

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

Runtime::LoadedScene& Runtime::ensureLoaded(std::string_view scene) {
    spoken();
    Entry& e = entry(scene);
    if (e.state) return *e.state;
    const SceneDescription& d = e.description;

    const int scale = settleScale();
    // The window is placed once, when the scene is built, and never moves afterwards.
    const Rect placed = placeWindow(d, platform_.arrangement(), platform_.usableBounds());
    WindowRequest request;
    request.title = d.caption;
    request.x = placed.x;
    request.y = placed.y;
    request.width = placed.w;
    request.height = placed.h;
    if (!d.icon.empty()) request.iconFile = utf8Of(baseDir_ / "data" / d.icon);
    request.aside = scene == roles_.inventory;

    checkPictures(d, scale);  // a damaged picture fails the load, not a later click

    auto state = std::make_unique<LoadedScene>();
    state->placed = placed;
    state->flags = initialFlags(d);
    try {
        state->window = platform_.openWindow(request, *this);
    } catch (const std::exception& error) {
        throw GameError(d.file + ": the window of the scene " + d.name + " (" +
                        std::to_string(d.clientWidth) + " x " + std::to_string(d.clientHeight) +
                        " pixels) cannot be opened: " + error.what());
    }
    e.state = std::move(state);
    const std::uint64_t now = platform_.now();
    for (std::size_t i = 0; i < d.controls.size(); ++i)
        if (d.controls[i].kind == ControlKind::Timer && d.controls[i].enabled)
            timers_.start({e.order, static_cast<int>(i)},
                          static_cast<std::uint64_t>(d.controls[i].intervalMs), now);

    if (const auto it = d.handlers.find(EventKind::Load); it != d.handlers.end()) {
        callHandler(d.name, it->second);
        // Whatever asked for the scene goes on with it, so it must still be there.
        if (!e.state)
            throw GameError("the scene " + d.name + " was unloaded while it was being loaded");
    }
    return *e.state;
}

void Runtime::checkPictures(const SceneDescription& d, int scale) {
    if (!d.picture.empty()) pictures_.check(d.picture, scale);
    if (!d.icon.empty()) pictures_.check(d.icon);  // the window system scales icons itself
    for (const ControlDescription& c : d.controls) {
        if (!c.picture.empty()) pictures_.check(c.picture, scale);
        if (!c.cursor.empty()) pictures_.check(cursorFile(c.cursor), scale);
    }
}

int Runtime::settleScale() {
    if (scale_) return *scale_;
    std::vector<const SceneDescription*> descriptions;
    for (const auto& [name, e] : scenes_) descriptions.push_back(&e.description);
    WindowPlan plan = windowPlan(descriptions);
    plan.title = roles_.title;
    scale_ = platform_.fitScale(plan);
    return *scale_;
}

void Runtime::callHandler(const std::string& scene, const std::string& handler,
                          const Control& control) {
    const RegisteredHandler code = handlers_.find(scene, handler);
    if (!code) throw GameError("no code for the handler " + handler + " of " + scene);
    // Whose handler runs decides where the words of its clip appear.
    struct Running {
        std::string& now;
        const std::string before;
        ~Running() { now = before; }
    } running{handlerScene_, std::exchange(handlerScene_, scene)};
    // Kept here: a change of language while the handler runs replaces the description it names.
    const std::string name(control.name), language(control.language);
    try {
        code(*this, {name, language});
    } catch (const EndKeptForLater&) {
        // The end waits for the box the handler opened; nothing after it would have run.
    }
}

void Runtime::show(std::string_view scene) {
    if (keptForLater([this, name = std::string(scene)] { show(name); })) return;
    LoadedScene& s = ensureLoaded(scene);
    // Drawn before it is shown, so the window never appears empty.
    s.dirty = false;
    s.visible = true;
    platform_.invalidate(s.window);
    platform_.showWindow(s.window);
    // The mark belongs to the place the player was in; another place brings its own hotspots.
    if (focus_.spot() && focus_.spot()->scene != scene && scene != roles_.inventory) focus_.drop();
    if (named_ && named_->scene != scene) forgetName();  // the pointer is over the new window
    broughtForward(std::string(scene));
}

void Runtime::broughtForward(const std::string& scene) {
    std::erase(forward_, scene);
    forward_.push_back(scene);
    // The subtitles float above every scene, the one just brought forward too.
    subtitles_.raise();
}

void Runtime::unload(std::string_view scene) {
    if (keptForLater([this, name = std::string(scene)] { unload(name); })) return;
    Entry& e = entry(scene);
    if (!e.state) return;
    const WindowId window = e.state->window;
    e.state.reset();
    timers_.stopScene(e.order);
    platform_.closeWindow(window);
    std::erase(forward_, std::string(scene));
    subtitles_.sceneGone(scene);  // its words go with it
    // A press on the old window must not complete as a click on a reloaded one.
    if (press_ && press_->scene == scene) press_.reset();
    if (finger_ && finger_->scene == scene) finger_.reset();
    if (focus_.spot() && focus_.spot()->scene == scene) focus_.drop();
    if (named_ && named_->scene == scene) forgetName();
    const bool anyLoaded = std::any_of(scenes_.begin(), scenes_.end(), [](const auto& item) {
        return item.second.state != nullptr;
    });
    if (!anyLoaded) finished_ = true;  // the running handler finishes, then the program ends
}

void Runtime::end() {
    if (keptForLater([this] { end(); })) throw EndKeptForLater{};
    askedToEnd_ = true;
    throw EndRequest{};
}

void Runtime::setVisible(std::string_view scene, std::string_view control, bool visible) {
    if (keptForLater([this, s = std::string(scene), c = std::string(control), visible] {
            setVisible(s, c, visible);
        }))
        return;
    LoadedScene& s = ensureLoaded(scene);
    const int index = controlIndex(entry(scene), control);
    ControlFlags& flags = s.flags[static_cast<std::size_t>(index)];
    if (flags.visible == visible) return;
    flags.visible = visible;
    s.dirty = true;
}

void Runtime::setEnabled(std::string_view scene, std::string_view control, bool enabled) {
    if (keptForLater([this, s = std::string(scene), c = std::string(control), enabled] {
            setEnabled(s, c, enabled);
        }))
        return;
    LoadedScene& s = ensureLoaded(scene);
    const Entry& e = entry(scene);
    const auto i = static_cast<std::size_t>(controlIndex(e, control));
    const ControlDescription& c = e.description.controls[i];
    if (c.kind == ControlKind::Timer) {
        const TimerId timer{e.order, static_cast<int>(i)};
        if (enabled)
            timers_.start(timer, static_cast<std::uint64_t>(c.intervalMs), platform_.now());
        else
            timers_.stop(timer);
    }
    // A button shows whether it is enabled; a hotspot only through the player's aids: the
    // marked hotspots (H), the ring of the focus mark and its name line.
    const bool aided = hotspotsMarked_ || (focus_.spot() && focus_.spot()->scene == scene) ||
                       (named_ && named_->scene == scene && named_->control == static_cast<int>(i));
    if (s.flags[i].enabled != enabled && (c.kind == ControlKind::CommandButton || aided))
        s.dirty = true;
    s.flags[i].enabled = enabled;
}

bool Runtime::isVisible(std::string_view scene, std::string_view control) {
    // Its answer would come before the steps kept for after the box have run.
    if (box_ && !handlerScene_.empty())
        throw GameError("a handler of " + handlerScene_ + " reads " + std::string(scene) + "." +
                        std::string(control) + " after its box: read it before the box");
    LoadedScene& s = ensureLoaded(scene);
    return s.flags[static_cast<std::size_t>(controlIndex(entry(scene), control))].visible;
}

void Runtime::messageBox(std::string_view message) {
    if (keptForLater([this, id = std::string(message)] { messageBox(id); })) return;
    const GameMessage* m = findMessage(message);
    if (!m) throw GameError("the game has no message " + std::string(message));
    const Language& words = spoken();
    const std::string title = words.text(messageContext(m->id, "title"), m->title);
    const std::string text = words.text(messageContext(m->id, "text"), m->text);
    presentDirty();  // the player sees what led to the message
    openBox(title, text);
}

void Runtime::playSound(std::string_view clip) {
    if (keptForLater([this, c = std::string(clip)] { playSound(c); })) return;
    if (!muted_) playWave(platform_, baseDir_, spoken().clip(clip));
    // The notebook keeps what was said, as the clip says it, whether heard or read.
    if (const auto it = subtitles_.captions().find(clip); it != subtitles_.captions().end())
        for (std::size_t i = 0; i < it->second.cues.size(); ++i)
            if (it->second.cues[i].speaker != "effect") heard_.push_back({std::string(clip), i});
    try {
        startSubtitles(clip);
    } catch (const std::exception&) {
        subtitles_.stop();  // words that cannot be shown never stop the game
    }
}

void Runtime::startSubtitles(std::string_view clip) {
    subtitles_.stop();  // a new clip cuts off the old one's words with its sound
    const std::optional<std::string> anchor = subtitleAnchor();
    if (!anchor) return;
    subtitles_.play(clip, *anchor, entry(*anchor).state->placed);
    if (named_) redraw(named_->scene);  // the name line keeps off the words
}

std::optional<std::string> Runtime::subtitleAnchor() const {
    // Outside a handler (a tool driving the runtime) no scene spoke.
    const bool spokeFromAScene = !handlerScene_.empty() && isShown(handlerScene_);
    if (spokeFromAScene && handlerScene_ != roles_.inventory) return handlerScene_;
    if (const std::optional<std::string> front = frontPlace()) return front;
    if (spokeFromAScene) return handlerScene_;
    return std::nullopt;
}

std::optional<std::string> Runtime::frontPlace() const {
    for (auto it = forward_.rbegin(); it != forward_.rend(); ++it)
        if (*it != roles_.inventory && isShown(*it)) return *it;
    return std::nullopt;
}

void Runtime::openLink(std::string_view address) {
    if (keptForLater([this, a = std::string(address)] { openLink(a); })) return;
    OpenLink(platform_, address);
}

bool Runtime::isLoaded(std::string_view scene) const { return entry(scene).state != nullptr; }

bool Runtime::isShown(std::string_view scene) const {
    const Entry& e = entry(scene);
    return e.state && e.state->visible;
}

std::optional<std::string> Runtime::sceneOfWindow(WindowId window) const {
    for (const auto& [name, e] : scenes_)
        if (e.state && e.state->window == window) return name;
    return std::nullopt;
}

void Runtime::drawScene(const Entry& e, Canvas& canvas, RenderOptions options) {
    options.buttonHasFocus = true;  // the one command button always holds its window's focus
    renderScene(e.description, e.state->flags, pictures_, fonts_, canvas, options);
}

Canvas Runtime::render(std::string_view scene, const RenderOptions& options) {
    const Entry& e = entry(scene);
    if (!e.state) throw GameError(std::string(scene) + " is not loaded");
    Canvas canvas(e.description.clientWidth, e.description.clientHeight, scale_.value_or(1));
    drawScene(e, canvas, options);
    return canvas;
}

void Runtime::paint(WindowId window, Canvas& canvas) {
    if (const std::optional<std::string> scene = sceneOfWindow(window)) {
        RenderOptions options;
        options.markHotspots = hotspotsMarked_ || (finger_ && finger_->showing);
        if (const auto seen = markable(*scene)) options.focusRing = focus_.ringIn(*seen);
        options.soundOff = muted_ && *scene == roles_.inventory;
        options.nameLine = nameLineIn(*scene);
        if (options.nameLine)
            drawnName_ = RuntimeView::DrawnName{
                *scene,
                entry(*scene).description.controls[static_cast<std::size_t>(named_->control)].name,
                options.nameLine->line.said(), options.nameLine->place};
        else if (drawnName_ && drawnName_->scene == *scene)
            drawnName_.reset();
        drawScene(entry(*scene), canvas, options);
    }
}

void Runtime::redraw(const std::string& scene) {
    if (LoadedScene* s = entry(scene).state.get()) s->dirty = true;
}

void Runtime::nameAt(const std::string& scene, int control) {
    std::optional<Named> next;
    if (control != kNoControl &&
        !entry(scene).description.controls[static_cast<std::size_t>(control)].called.empty())
        next = Named{scene, control};
    if (next == named_) return;
    if (named_) redraw(named_->scene);
    named_ = next;
    if (!named_) {
        platform_.announce({Announcement::Kind::NameLine, {}, languages_.code()});
        return;
    }
    redraw(scene);
    // A control that shows its own words is heard by them, as a menu's entry; a thing in a
    // picture by its name line.
    const ControlDescription& c =
        entry(scene).description.controls[static_cast<std::size_t>(control)];
    if (showsOwnWords(c))
        platform_.announce({Announcement::Kind::MenuEntry, c.called, languages_.code()});
    else
        platform_.announce(
            {Announcement::Kind::NameLine, nameLineOf(c, spoken()).said(), languages_.code()});
}

void Runtime::forgetName() {
    if (!named_) return;
    if (isLoaded(named_->scene)) redraw(named_->scene);
    named_.reset();
    platform_.announce({Announcement::Kind::NameLine, {}, languages_.code()});
}

std::optional<RenderOptions::ShownName> Runtime::nameLineIn(const std::string& scene) {
    if (!namesShown_ || !named_ || named_->scene != scene) return std::nullopt;
    const Entry& e = entry(scene);
    const auto i = static_cast<std::size_t>(named_->control);
    const ControlDescription& c = e.description.controls[i];
    // The thing a handler took away meanwhile is named no more.
    if (showsOwnWords(c) || !e.state->flags[i].visible || !e.state->flags[i].enabled)
        return std::nullopt;
    const NameLine line = nameLineOf(c, spoken());
    // The subtitles lie below the window, unless the screen left them no room there.
    std::optional<Rect> words = subtitles_.area();
    if (words) {
        words->x -= e.state->placed.x;
        words->y -= e.state->placed.y;
    }
    return RenderOptions::ShownName{
        line, placeNameLine(e.description.clientWidth, e.description.clientHeight,
                            visibleRect(e.description, named_->control),
                            nameLinePlate(line, fonts_), words)};
}

void Runtime::presentDirty() {
    for (auto& [name, e] : scenes_) {
        if (!e.state || !e.state->visible || !e.state->dirty) continue;
        e.state->dirty = false;
        platform_.invalidate(e.state->window);
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
                                       : utf8Of(baseDir_ / "data" / cursorFile(cursor)));
}

void Runtime::openBox(const std::string& title, const std::string& text) {
    box_.emplace(platform_, fonts_, title, text, languages_.fixedText(kOkButton));
    platform_.announce({Announcement::Kind::MessageBox, title + ". " + text, languages_.code()});
    box_->show();
}

void Runtime::showControls() {
    if (keptForLater([this] { showControls(); })) return;
    presentDirty();
    const ControlsCard card = controlsCard(spoken());
    box_.emplace(platform_, fonts_, card, languages_.fixedText(kOkButton));
    platform_.announce({Announcement::Kind::MessageBox, card.title, languages_.code()});
    box_->show();
}

bool Runtime::keptForLater(std::function<void()> operation) {
    if (!box_ || finished_) return false;
    later_.push_back({handlerScene_, std::move(operation)});
    return true;
}

void Runtime::closeBox() {
    const bool quit = box_->quitRequested();
    box_.reset();
    if (finished_) return;  // the box of a fatal error: the game ends with it
    if (quit) {
        later_.clear();
        finished_ = true;  // the player closed the game while the box was open
        return;
    }
    guarded([&] {
        while (!box_ && !later_.empty() && !finished_) {
            LaterStep next = std::move(later_.front());
            later_.pop_front();
            // What this step keeps in turn (a scene's Load handler with a box) comes before the
            // steps kept already, as it would have run before them.
            std::deque<LaterStep> rest = std::exchange(later_, {});
            // Its words belong where the handler that asked for it spoke.
            struct Running {
                std::string& now;
                const std::string before;
                ~Running() { now = before; }
            } running{handlerScene_, std::exchange(handlerScene_, next.scene)};
            next.operation();
            later_.insert(later_.end(), std::make_move_iterator(rest.begin()),
                          std::make_move_iterator(rest.end()));
        }
    });
}

void Runtime::handleInput(const InputEvent& event) {
    if (event.type == InputEvent::Type::Quit) end();  // the system's, addressed to no window
    const std::optional<std::string> found = sceneOfWindow(event.window);
    if (!found) {
        // The subtitle window, or a window that closed meanwhile: no scene hears of it.
        if (event.type == InputEvent::Type::MouseMove) {
            platform_.setCursor("");
            forgetName();
        }
        return;
    }
    const std::string scene = *found;
    const Entry& e = entry(scene);
    const SceneDescription& d = e.description;
    switch (event.type) {
        case InputEvent::Type::Quit:  // ended above, before its window was looked for
        case InputEvent::Type::CloseRequest:
            end();  // closing any scene window ends the game like "X"
        case InputEvent::Type::Key:
        case InputEvent::Type::Pad:
            if (const std::optional<Action> action = actionOf(event)) act(*action, scene);
            return;
        case InputEvent::Type::TouchDown:
        case InputEvent::Type::TouchMove:
        case InputEvent::Type::TouchUp:
            touch(scene, event);
            return;
        case InputEvent::Type::Wheel:  // only the notebook scrolls
            return;
        case InputEvent::Type::MouseMove:
            // The player's hand takes over from the keys.
            if (const auto marked = focus_.pointerAt(e.state->placed, {event.x, event.y}))
                redraw(*marked);
            hover(scene, event.x, event.y);
            return;
        case InputEvent::Type::MouseDown:
            press_ = Press{scene, hitTest(d, e.state->flags, event.x, event.y)};
            broughtForward(scene);  // a click raises the window it lands in
            return;
        case InputEvent::Type::MouseUp: {
            // A click is a press and a release on the same control of the same loaded scene.
            const std::optional<Press> press = press_;
            press_.reset();
            const int hit = hitTest(d, e.state->flags, event.x, event.y);
            if (!press || press->scene != scene || press->control != hit || hit == kNoControl)
                return;
            const ControlDescription& c = d.controls[static_cast<std::size_t>(hit)];
            if (const auto it = c.handlers.find(EventKind::Click); it != c.handlers.end())
                callHandler(scene, it->second, {c.name, c.language});
            if (!isLoaded(scene)) return;
            updateCursor(scene, event.x, event.y);
            // What the click made of the thing is named anew, unless it brought another scene
            // forward over it or opened a box, which takes the pointer's moves until it closes.
            if (!box_ && (forward_.empty() || forward_.back() == scene))
                nameAt(scene, hitTest(d, entry(scene).state->flags, event.x, event.y));
            return;
        }
    }
}

void Runtime::hover(const std::string& scene, int x, int y) {
    const Entry& e = entry(scene);
    const SceneDescription& d = e.description;
    const int hit = hitTest(d, e.state->flags, x, y);
    const ControlDescription* c =
        hit == kNoControl ? nullptr : &d.controls[static_cast<std::size_t>(hit)];
    const auto& handlers = c ? c->handlers : d.handlers;
    if (const auto it = handlers.find(EventKind::MouseMove); it != handlers.end())
        callHandler(scene, it->second, c ? Control{c->name, c->language} : Control{});
    if (!isLoaded(scene)) return;
    updateCursor(scene, x, y);
    nameAt(scene, hitTest(d, entry(scene).state->flags, x, y));
}

bool Runtime::pressCommandButton(const std::string& scene) {
    // The one command button of a scene holds its window's focus.
    const Entry& e = entry(scene);
    for (std::size_t i = 0; i < e.description.controls.size(); ++i) {
        const ControlDescription& c = e.description.controls[i];
        if (c.kind != ControlKind::CommandButton || !e.state->flags[i].visible ||
            !e.state->flags[i].enabled)
            continue;
        if (const auto it = c.handlers.find(EventKind::Click); it != c.handlers.end())
            callHandler(scene, it->second, {c.name, c.language});
        return true;
    }
    return false;
}

bool Runtime::fireDueTimer() {
    const std::optional<TimerId> due = timers_.takeDue(platform_.now());
    if (!due) return false;
    // It keeps ticking every interval while enabled; the handler may disable it.
    const std::string scene = order_[static_cast<std::size_t>(due->scene)];
    const ControlDescription& timer =
        entry(scene).description.controls[static_cast<std::size_t>(due->control)];
    if (const auto it = timer.handlers.find(EventKind::Timer); it != timer.handlers.end())
        callHandler(scene, it->second, {timer.name, timer.language});
    return true;
}

void Runtime::fail(const std::string& message) {
    // The one fatal path: stderr always, then the game's own box when it can be shown.
    const bool first = exitStatus_ == 0;
    finished_ = true;
    exitStatus_ = 1;
    if (!first) return;  // a failure while reporting one: stderr has the first
    fatalMessage_ = message;
    std::fprintf(stderr, "orval-kesk: %s\n", message.c_str());
    box_.reset();
    later_.clear();
    closeEverything();
    const std::string title = languages_.fixedText(kErrorTitle);
    try {
        openBox(title, message);
    } catch (const std::exception&) {
        // Without a font of its own the game cannot draw the box: the window system's plain
        // one shows it (and without a display, stderr has it).
        box_.reset();
        platform_.showPlainError(title, message);
    }
}

void Runtime::guarded(const std::function<void()>& work) {
    if (finished_) return;
    try {
        work();
        if (!finished_) presentDirty();
    } catch (const EndRequest&) {
        finished_ = true;
        later_.clear();
    } catch (const std::exception& error) {
        fail(error.what());
    }
}

bool Runtime::step(std::optional<std::uint64_t> until) {
    if (finished_ && !box_) return false;
    if (startUpLeft_ && platform_.dataArrived()) {
        startUpLeft_ = false;
        guarded([&] { finishStartUp(); });
        // What the player did meanwhile is acted on now, in order.
        for (const InputEvent& kept : std::exchange(keptInput_, {}))
            if (!finished_ || box_) take(kept);
        return true;
    }
    // While a box is open the timers wait: the box holds the game as a modal window does.
    // The words of the clip playing go on, as its sound does.
    const std::optional<std::uint64_t> words = subtitles_.nextChange();
    std::optional<std::uint64_t> deadline = box_ || notebook_ ? std::nullopt : timers_.next();
    if (words && (!deadline || *words < *deadline)) deadline = words;
    std::optional<std::uint64_t> held;
    if (finger_ && finger_->still && !finger_->showing && !box_) held = finger_->holdUntil;
    if (held && (!deadline || *held < *deadline)) deadline = held;
    if (deadline && *deadline <= platform_.now()) {
        if (held && *held <= platform_.now()) {
            guarded([&] { fingerHeld(); });
        } else if (words && *words <= platform_.now()) {
            try {
                subtitles_.advance();
            } catch (const std::exception&) {
                subtitles_.stop();
            }
        } else {
            guarded([&] { fireDueTimer(); });
        }
        return true;
    }
    std::optional<std::uint64_t> wait = deadline;
    if (until && (!wait || *until < *wait)) wait = until;
    const std::optional<InputEvent> event = platform_.waitEvent(wait);
    if (event) {
        // Before the rest of the start-up the menu answers the pointer, but what acts waits
        // for the files play needs.
        if (startUpLeft_ && actsOnTheGame(*event))
            keptInput_.push_back(*event);
        else
            take(*event);
        return true;
    }
    // No input came: a timer is due now, or `until` came, or nothing can ever happen.
    return deadline && *deadline <= platform_.now();
}

bool Runtime::actsOnTheGame(const InputEvent& event) {
    switch (event.type) {
        case InputEvent::Type::MouseMove:
        case InputEvent::Type::TouchMove:
        case InputEvent::Type::CloseRequest:
        case InputEvent::Type::Quit:
            return false;
        default:
            return true;
    }
}

void Runtime::take(const InputEvent& event) {
    if (stageKey(event)) return;
    if (!box_ && notebook_) {
        notebookInput(event);
    } else if (!box_) {
        guarded([&] { handleInput(event); });
    } else {
        try {
            box_->handle(event);
        } catch (const std::exception&) {
            box_->abandon();  // a box that cannot be drawn cannot hold the game
        }
        if (box_->answered()) closeBox();
    }
}

void Runtime::closeEverything() {
    press_.reset();
    named_.reset();
    finger_.reset();
    notebook_.reset();
    subtitles_.stop();
    for (auto& [name, e] : scenes_) {
        if (!e.state) continue;
        const WindowId window = e.state->window;
        e.state.reset();
        timers_.stopScene(e.order);
        platform_.closeWindow(window);
    }
}

void Runtime::start(std::string_view firstScene) {
    guarded([&] {
        // A page's places come after its menu: their pictures are checked once they have.
        if (scenes_.empty())
            addDescriptions(loadGameDescriptions(
                baseDir_ / "data", handlers_, platform_.dataArrived() ? nullptr : &laterPictures_));
        spoken();
        show(firstScene.empty() ? std::string_view(roles_.first) : firstScene);
    });
    showSwitches();
    startUpLeft_ = !finished_;
}

void Runtime::finishStartUp() {
    checkLaterPictures(std::exchange(laterPictures_, {}));
    languages_.checkOwnPictures();
    // With the menu up, read the subtitles, find the fonts and check every other picture (in
    // every language, the subtitles of the others too) now, so that no click waits for a font
    // lookup and a damaged file is reported at once, not in the middle of play.
    const Language& words = spoken();
    if (!subtitles_.hasCaptions())
        subtitles_.setCaptions(loadCaptions(baseDir_ / words.captionsFile(), soundClips()));
    fonts_.prepare();
    std::vector<const SceneDescription*> descriptions;
    for (const auto& [name, e] : scenes_) descriptions.push_back(&e.description);
    const WindowPlan plan = windowPlan(descriptions);
    for (const std::string& code : languages_.codes()) {
        const Language& other = languages_.of(code);
        checkMessageBoxesFit(other, fonts_, plan.widest, plan.tallest);
        for (const auto& [name, e] : scenes_)
            checkPictures(other.localise(e.source), settleScale());
        if (&other != &spoken()) loadCaptions(baseDir_ / other.captionsFile(), soundClips());
    }
    pictures_.check(kSoundOffPicture, settleScale());
    hints();
    readNextSteps();
}

std::optional<std::uint64_t> Runtime::nextDue() {
    if (ended()) return std::nullopt;
    if (startUpLeft_ && platform_.dataArrived()) return platform_.now();
    // While a box is open the timers wait, as in step.
    std::optional<std::uint64_t> due = box_ ? std::nullopt : timers_.next();
    for (const std::optional<std::uint64_t> other :
         {subtitles_.nextChange(), platform_.ownDeadline()})
        if (other && (!due || *other < *due)) due = other;
    return due;
}

void Runtime::failAtStart(const std::string& message) { fail(message); }

int Runtime::run(std::string_view firstScene) {
    start(firstScene);
    while (step(std::nullopt)) {
    }
    return finish();
}

int Runtime::finish() {
    closeEverything();
    return exitStatus_;
}

bool Runtime::runFor(std::uint64_t ms) {
    const std::uint64_t until = platform_.now() + ms;
    while (step(until)) {
    }
    if (finished_) closeEverything();
    return !finished_;
}

}  // namespace orval
