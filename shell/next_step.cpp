#include "shell/next_step.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <string_view>
#include <unordered_map>

#include "scenes/model/data_file.h"
#include "scenes/model/hit_test.h"
#include "scenes/model/text_lines.h"
#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

// A whole state in one string, cheap to copy, hash and compare: for each scene a byte (loaded,
// shown), then a byte per control (visible, enabled); an unloaded scene's controls are zero.
constexpr char kLoaded = 1, kShown = 2;
constexpr char kVisible = 1, kEnabled = 2;

// The program ended (End, or no scene left): a way that leads nowhere.
struct Ended {};

// Where each scene's bytes lie, and what of each scene the search reads again and again.
struct Layout {
    struct Clickable {
        int control = 0;
        Point centre;  // of its visible area, where the search clicks
    };
    struct Scene {
        const SceneDescription* description = nullptr;
        std::size_t offset = 0;
        bool reactsToMoves = false;  // the pointer's move can change it (the menu's highlights)
        std::vector<Clickable> clickables;
    };
    std::vector<Scene> scenes;
    std::map<std::string, int, std::less<>> byName;
    std::size_t size = 0;
    int won = -1;

    Layout(const std::vector<const SceneDescription*>& descriptions, const std::string& wonScene) {
        for (const SceneDescription* d : descriptions) {
            Scene& scene = scenes.emplace_back();
            scene.description = d;
            scene.offset = size;
            size += 1 + d->controls.size();
            scene.reactsToMoves = d->handlers.contains(EventKind::MouseMove);
            for (std::size_t i = 0; i < d->controls.size(); ++i) {
                const ControlDescription& c = d->controls[i];
                if (c.handlers.contains(EventKind::MouseMove)) scene.reactsToMoves = true;
                if (!c.handlers.contains(EventKind::Click)) continue;
                const Rect r = visibleRect(*d, static_cast<int>(i));
                if (r.w <= 0 || r.h <= 0) continue;
                scene.clickables.push_back({static_cast<int>(i), {r.x + r.w / 2, r.y + r.h / 2}});
            }
            if (d->name == wonScene) won = static_cast<int>(scenes.size() - 1);
            byName.emplace(d->name, static_cast<int>(scenes.size() - 1));
        }
    }

    int index(std::string_view name) const {
        const auto it = byName.find(name);
        if (it == byName.end()) throw Ended{};  // the real game fails there: no way on
        return it->second;
    }
};

// The game's handlers played on a state instead of on the runtime: what they show, unload and
// set lands in `state`; boxes, sounds and links are left out, since they change no flag.
class Rehearsal final : public Game {
  public:
    Rehearsal(const Layout& layout, const HandlerRegistry& handlers)
        : layout_(layout), handlers_(handlers) {}

    std::string state;

    void show(std::string_view scene) override {
        state[layout_.scenes[static_cast<std::size_t>(load(scene))].offset] |= kShown;
    }
    void unload(std::string_view scene) override {
        const Layout::Scene& s = layout_.scenes[static_cast<std::size_t>(layout_.index(scene))];
        std::fill_n(state.begin() + static_cast<std::ptrdiff_t>(s.offset),
                    1 + s.description->controls.size(), char{0});
    }
    [[noreturn]] void end() override { throw Ended{}; }
    void setVisible(std::string_view scene, std::string_view control, bool visible) override {
        set(flag(scene, control), kVisible, visible);
    }
    void setEnabled(std::string_view scene, std::string_view control, bool enabled) override {
        set(flag(scene, control), kEnabled, enabled);
    }
    bool isVisible(std::string_view scene, std::string_view control) override {
        return (flag(scene, control) & kVisible) != 0;
    }
    void messageBox(std::string_view) override {}
    void playSound(std::string_view) override {}
    void openLink(std::string_view) override {}
    void showControls() override {}
    void setLanguage(std::string_view) override {}

    bool loaded(int scene) const {
        return (state[layout_.scenes[static_cast<std::size_t>(scene)].offset] & kLoaded) != 0;
    }
    bool shown(int scene) const {
        return (state[layout_.scenes[static_cast<std::size_t>(scene)].offset] & kShown) != 0;
    }
    // The flags of a loaded scene, as the hit test reads them.
    void flagsOf(int scene, SceneFlags& flags) const {
        const Layout::Scene& s = layout_.scenes[static_cast<std::size_t>(scene)];
        flags.resize(s.description->controls.size());
        for (std::size_t i = 0; i < flags.size(); ++i) {
            const char b = state[s.offset + 1 + i];
            flags[i] = {(b & kVisible) != 0, (b & kEnabled) != 0};
        }
    }

    // Calls the handler of a scene's event (of a control, or of the scene itself).
    void call(int scene, int control, EventKind event) {
        const SceneDescription& d = *layout_.scenes[static_cast<std::size_t>(scene)].description;
        const auto& bound =
            control < 0 ? d.handlers : d.controls[static_cast<std::size_t>(control)].handlers;
        const auto it = bound.find(event);
        if (it == bound.end()) return;
        const RegisteredHandler code = handlers_.find(d.name, it->second);
        if (!code) throw Ended{};  // the real game fails there
        if (control < 0) {
            code(*this);
        } else {
            const ControlDescription& c = d.controls[static_cast<std::size_t>(control)];
            code(*this, {c.name, c.language});
        }
    }

    // Lets time pass: every ticking timer of at most `upToMs` ticks, the shortest first, as
    // often as it keeps ticking (a few times at most: the game's timers stop themselves).
    void tick(int upToMs) {
        for (int round = 0; round < 8; ++round) {
            int scene = -1, control = -1, shortest = upToMs + 1;
            for (std::size_t s = 0; s < layout_.scenes.size(); ++s) {
                if (!loaded(static_cast<int>(s))) continue;
                const Layout::Scene& l = layout_.scenes[s];
                for (std::size_t i = 0; i < l.description->controls.size(); ++i) {
                    const ControlDescription& c = l.description->controls[i];
                    if (c.kind == ControlKind::Timer && (state[l.offset + 1 + i] & kEnabled) &&
                        c.intervalMs < shortest) {
                        scene = static_cast<int>(s);
                        control = static_cast<int>(i);
                        shortest = c.intervalMs;
                    }
                }
            }
            if (scene < 0) return;
            call(scene, control, EventKind::Timer);
        }
    }

    // Whether a timer longer than a click's aftermath ticks: waiting is then a step.
    bool waiting() const {
        for (std::size_t s = 0; s < layout_.scenes.size(); ++s) {
            if (!loaded(static_cast<int>(s))) continue;
            const Layout::Scene& l = layout_.scenes[s];
            for (std::size_t i = 0; i < l.description->controls.size(); ++i)
                if (l.description->controls[i].kind == ControlKind::Timer &&
                    (state[l.offset + 1 + i] & kEnabled))
                    return true;
        }
        return false;
    }

    bool anyLoaded() const {
        for (std::size_t s = 0; s < layout_.scenes.size(); ++s)
            if (loaded(static_cast<int>(s))) return true;
        return false;
    }

  private:
    // Loads the scene as the runtime does on first touch: its initial flags, then its Load.
    int load(std::string_view name) {
        const int scene = layout_.index(name);
        const Layout::Scene& s = layout_.scenes[static_cast<std::size_t>(scene)];
        if (state[s.offset] & kLoaded) return scene;
        state[s.offset] = kLoaded;
        for (std::size_t i = 0; i < s.description->controls.size(); ++i) {
            const ControlDescription& c = s.description->controls[i];
            state[s.offset + 1 + i] =
                static_cast<char>((c.visible ? kVisible : 0) | (c.enabled ? kEnabled : 0));
        }
        call(scene, -1, EventKind::Load);
        return scene;
    }
    char& flag(std::string_view scene, std::string_view control) {
        const int index = load(scene);
        const Layout::Scene& s = layout_.scenes[static_cast<std::size_t>(index)];
        const int c = s.description->find(control);
        if (c < 0) throw Ended{};
        return state[s.offset + 1 + static_cast<std::size_t>(c)];
    }
    static void set(char& byte, char bit, bool on) {
        byte = static_cast<char>(on ? (byte | bit) : (byte & ~bit));
    }

    const Layout& layout_;
    const HandlerRegistry& handlers_;
};

// A click of the search (or, with no scene, a wait for the long timer).
struct Move {
    int scene = -1, control = -1;
    Point at;
};

bool shownWithHolders(const SceneDescription& d, const SceneFlags& flags, int i) {
    for (int p = i; p >= 0; p = d.controls[static_cast<std::size_t>(p)].parent)
        if (!flags[static_cast<std::size_t>(p)].visible) return false;
    return true;
}

// Every click the player can make in this state, and the wait while a long timer ticks.
std::vector<Move> movesFrom(const Layout& layout, Rehearsal& game, SceneFlags& flags) {
    std::vector<Move> moves;
    for (std::size_t s = 0; s < layout.scenes.size(); ++s) {
        const int scene = static_cast<int>(s);
        if (!game.shown(scene)) continue;
        const Layout::Scene& l = layout.scenes[s];
        game.flagsOf(scene, flags);
        for (const Layout::Clickable& c : l.clickables) {
            const auto i = static_cast<std::size_t>(c.control);
            if (!flags[i].enabled || !shownWithHolders(*l.description, flags, c.control)) continue;
            if (!l.reactsToMoves &&
                hitTest(*l.description, flags, c.centre.x, c.centre.y) != c.control)
                continue;
            moves.push_back({scene, c.control, c.centre});
        }
    }
    if (game.waiting()) moves.push_back({});
    return moves;
}

// Plays the move on the state in `game`; false where it does not happen or ends the program.
bool play(const Layout& layout, Rehearsal& game, const Move& move, SceneFlags& flags) {
    try {
        if (move.scene < 0) {
            game.tick(1 << 30);
        } else {
            const SceneDescription& d =
                *layout.scenes[static_cast<std::size_t>(move.scene)].description;
            if (layout.scenes[static_cast<std::size_t>(move.scene)].reactsToMoves) {
                // The pointer arrives first: what lies under it hears of it.
                game.flagsOf(move.scene, flags);
                game.call(move.scene, hitTest(d, flags, move.at.x, move.at.y),
                          EventKind::MouseMove);
                if (!game.loaded(move.scene)) return false;
                game.flagsOf(move.scene, flags);
                if (hitTest(d, flags, move.at.x, move.at.y) != move.control) return false;
            }
            game.call(move.scene, move.control, EventKind::Click);
            game.tick(kArrivalTimerMs);
        }
    } catch (const Ended&) {
        return false;
    }
    return game.anyLoaded();
}

bool movedOn(const Layout& layout, const std::string& before, const std::string& after) {
    for (const Layout::Scene& s : layout.scenes) {
        if (!(before[s.offset] & kLoaded) || !(after[s.offset] & kLoaded)) continue;
        if (before.compare(s.offset + 1, s.description->controls.size(), after, s.offset + 1,
                           s.description->controls.size()) != 0)
            return true;
    }
    return false;
}

std::string encode(const Layout& layout, const std::vector<SceneNow>& now) {
    std::string state(layout.size, char{0});
    for (std::size_t s = 0; s < layout.scenes.size() && s < now.size(); ++s) {
        const Layout::Scene& l = layout.scenes[s];
        if (!now[s].loaded) continue;
        state[l.offset] = static_cast<char>(kLoaded | (now[s].shown ? kShown : 0));
        for (std::size_t i = 0; i < l.description->controls.size() && i < now[s].flags.size(); ++i)
            state[l.offset + 1 + i] = static_cast<char>((now[s].flags[i].visible ? kVisible : 0) |
                                                        (now[s].flags[i].enabled ? kEnabled : 0));
    }
    return state;
}

// The table's key of a state: its bytes (each 0 to 3) three to a digit of 64, and a run of
// zero digits (the scenes not loaded) as '.' and the run's length, so that a key is short.
constexpr std::string_view kKeyDigits =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_";
constexpr char kZeroRun = '.';

std::string compactKey(std::string_view state) {
    std::string digits;
    for (std::size_t i = 0; i < state.size(); i += 3) {
        std::size_t value = 0;
        for (std::size_t j = i; j < i + 3; ++j)
            value = value * 4 + (j < state.size() ? static_cast<std::size_t>(state[j] & 3) : 0);
        digits += kKeyDigits[value];
    }
    std::string key;
    for (std::size_t i = 0; i < digits.size();) {
        std::size_t run = 0;
        while (i + run < digits.size() && digits[i + run] == '0' && run + 1 < kKeyDigits.size())
            ++run;
        if (run >= 2) {
            key += kZeroRun;
            key += kKeyDigits[run];
            i += run;
        } else {
            key += digits[i++];
        }
    }
    return key;
}

// The state bytes of `now`, laid out as the search lays them out, without its other work.
std::string encodeNow(const std::vector<const SceneDescription*>& scenes,
                      const std::vector<SceneNow>& now) {
    std::string state;
    for (std::size_t s = 0; s < scenes.size(); ++s) {
        const std::size_t controls = scenes[s]->controls.size();
        if (s >= now.size() || !now[s].loaded) {
            state.append(1 + controls, char{0});
            continue;
        }
        state += static_cast<char>(kLoaded | (now[s].shown ? kShown : 0));
        for (std::size_t i = 0; i < controls; ++i) {
            const bool known = i < now[s].flags.size();
            state += static_cast<char>((known && now[s].flags[i].visible ? kVisible : 0) |
                                       (known && now[s].flags[i].enabled ? kEnabled : 0));
        }
    }
    return state;
}

// FNV-1a, 64 bits: the fingerprint of what the search reads of the descriptions.
struct Fingerprint {
    std::uint64_t hash = 14695981039346656037ull;
    void add(std::string_view bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        add('\n');
    }
    void add(char c) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    void add(int n) { add(std::string_view(std::to_string(n))); }
    void add(const std::map<EventKind, std::string>& handlers) {
        for (const auto& [event, name] : handlers) {
            add(static_cast<int>(event));
            add(std::string_view(name));
        }
        add('|');
    }
};

// A line of the table, split at its tabs.
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0;;) {
        const std::size_t end = line.find('\t', at);
        out.push_back(line.substr(at, end - at));
        if (end == std::string_view::npos) return out;
        at = end + 1;
    }
}

constexpr std::uintmax_t kMaxNextStepBytes = 1 << 21;
constexpr int kMostClicks = 10000;

// The search from one state (as `encode` writes it).
StepSearch searchFrom(const Layout& layout, const HandlerRegistry& handlers, std::string state) {
    StepSearch result;
    Rehearsal game(layout, handlers);
    SceneFlags flags;
    game.state = std::move(state);
    // An arrival sound due within the click that led here is part of that click.
    try {
        game.tick(kArrivalTimerMs);
    } catch (const Ended&) {
        return result;
    }
    if (game.loaded(layout.won)) return result;

    struct Node {
        std::string state;
        int parent = -1;
        Move via;
    };
    std::vector<Node> nodes{{game.state, -1, {}}};
    std::unordered_map<std::string, int> seen{{game.state, 0}};
    std::deque<int> queue{0};
    int goal = -1;
    while (!queue.empty() && goal < 0) {
        const int id = queue.front();
        queue.pop_front();
        game.state = nodes[static_cast<std::size_t>(id)].state;
        for (const Move& move : movesFrom(layout, game, flags)) {
            game.state = nodes[static_cast<std::size_t>(id)].state;
            if (!play(layout, game, move, flags)) continue;
            if (seen.contains(game.state)) continue;
            const int next = static_cast<int>(nodes.size());
            seen.emplace(game.state, next);
            nodes.push_back({game.state, id, move});
            if (game.loaded(layout.won)) {
                goal = next;
                break;
            }
            queue.push_back(next);
        }
    }
    result.states = nodes.size();
    if (goal < 0) return result;

    std::vector<int> way;
    for (int n = goal; nodes[static_cast<std::size_t>(n)].parent >= 0;
         n = nodes[static_cast<std::size_t>(n)].parent)
        way.insert(way.begin(), n);
    result.clicks = static_cast<int>(way.size());
    for (const int n : way) {
        const Node& node = nodes[static_cast<std::size_t>(n)];
        if (node.via.scene < 0 ||
            !movedOn(layout, nodes[static_cast<std::size_t>(node.parent)].state, node.state))
            continue;
        const SceneDescription& d =
            *layout.scenes[static_cast<std::size_t>(node.via.scene)].description;
        result.step =
            NextClick{d.name, d.controls[static_cast<std::size_t>(node.via.control)].name};
        break;
    }
    return result;
}

}  // namespace

StepSearch searchNextStep(const std::vector<const SceneDescription*>& scenes,
                          const HandlerRegistry& handlers, const std::string& won,
                          const std::vector<SceneNow>& now) {
    const Layout layout(scenes, won);
    if (layout.won < 0) return {};
    return searchFrom(layout, handlers, encode(layout, now));
}

std::string nextStepKey(const std::vector<const SceneDescription*>& scenes,
                        const std::vector<SceneNow>& now) {
    return compactKey(encodeNow(scenes, now));
}

std::string descriptionsFingerprint(const std::vector<const SceneDescription*>& scenes) {
    Fingerprint f;
    for (const SceneDescription* d : scenes) {
        f.add(std::string_view(d->name));
        f.add(d->handlers);
        f.add(d->roles.won ? 'w' : '-');
        for (const ControlDescription& c : d->controls) {
            f.add(std::string_view(c.name));
            f.add(static_cast<int>(c.kind));
            f.add(c.parent);
            f.add(c.visible ? 'v' : '-');
            f.add(c.enabled ? 'e' : '-');
            f.add(c.intervalMs);
            f.add(c.handlers);
            // A label's size follows its words in the language spoken; the rest stay put.
            if (c.kind != ControlKind::Label) {
                f.add(c.rect.x);
                f.add(c.rect.y);
                f.add(c.rect.w);
                f.add(c.rect.h);
            }
        }
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(f.hash));
    return hex;
}

std::vector<NextStepRow> mapNextSteps(const std::vector<const SceneDescription*>& scenes,
                                      const HandlerRegistry& handlers, const std::string& won,
                                      const std::vector<SceneNow>& now) {
    const Layout layout(scenes, won);
    std::vector<NextStepRow> rows;
    if (layout.won < 0) return rows;
    Rehearsal game(layout, handlers);
    SceneFlags flags;
    std::vector<std::string> states{encode(layout, now)};
    std::unordered_map<std::string, int> seen{{states.front(), 0}};
    for (std::size_t at = 0; at < states.size(); ++at) {
        const std::string state = states[at];
        game.state = state;
        if (game.loaded(layout.won)) continue;  // won: nothing is left to hint at
        rows.push_back({compactKey(state), searchFrom(layout, handlers, state)});
        game.state = state;
        for (const Move& move : movesFrom(layout, game, flags)) {
            game.state = state;
            if (!play(layout, game, move, flags) || seen.contains(game.state)) continue;
            seen.emplace(game.state, static_cast<int>(states.size()));
            states.push_back(game.state);
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const NextStepRow& a, const NextStepRow& b) { return a.key < b.key; });
    return rows;
}

std::string nextStepsText(const std::string& fingerprint, const std::vector<NextStepRow>& rows) {
    std::string text =
        "# The next step from every state the game can reach: made by tools/make-hints, do not\n"
        "# edit. A state's key, the clicks of the shortest way to the won game, the scene and\n"
        "# control of the step (none where only waiting is left or the game cannot be won).\n"
        "descriptions\t" +
        fingerprint + "\n";
    for (const NextStepRow& row : rows) {
        text += row.key + '\t' + std::to_string(row.found.clicks);
        if (row.found.step) text += '\t' + row.found.step->scene + '\t' + row.found.step->control;
        text += '\n';
    }
    return text;
}

NextStepTable parseNextSteps(std::string_view text, const std::string& fileName,
                             const std::vector<const SceneDescription*>& scenes) {
    NextStepTable table;
    TextLines lines(text);
    while (const std::optional<std::string_view> line = lines.next()) {
        const auto fail = [&](const std::string& what) {
            throw DataFileError(fileName + ":" + std::to_string(lines.number()) + ": " + what);
        };
        if (line->empty() || line->front() == '#') continue;
        const std::vector<std::string_view> f = fields(*line);
        if (table.descriptions.empty()) {
            if (f.size() != 2 || f[0] != "descriptions" || f[1].size() != 16 ||
                f[1].find_first_not_of("0123456789abcdef") != std::string_view::npos)
                fail("the first line is \"descriptions\", a tab and 16 hexadecimal digits");
            table.descriptions = std::string(f[1]);
            continue;
        }
        if (f.size() != 2 && f.size() != 4)
            fail(
                "a row is a state's key, its clicks and the step's scene and control, apart by "
                "tabs");
        if (f[0].empty() || f[0].size() > 1000 ||
            f[0].find_first_not_of(std::string(kKeyDigits) + kZeroRun) != std::string_view::npos)
            fail("a state's key of other characters than its digits and '.'");
        int clicks = -1;
        const auto [end, error] = std::from_chars(f[1].data(), f[1].data() + f[1].size(), clicks);
        if (error != std::errc{} || end != f[1].data() + f[1].size() || clicks < 0 ||
            clicks > kMostClicks)
            fail("the clicks are not a number from 0 to " + std::to_string(kMostClicks));
        StepSearch found;
        found.clicks = clicks;
        if (f.size() == 4) {
            const auto scene =
                std::find_if(scenes.begin(), scenes.end(),
                             [&](const SceneDescription* d) { return d->name == f[2]; });
            if (scene == scenes.end() || (*scene)->find(f[3]) < 0)
                fail("no control " + std::string(f[3]) + " of a scene " + std::string(f[2]));
            found.step = NextClick{std::string(f[2]), std::string(f[3])};
        }
        if (!table.steps.emplace(std::string(f[0]), std::move(found)).second)
            fail("a second row for one state");
    }
    if (table.descriptions.empty()) throw DataFileError(fileName + ": no \"descriptions\" line");
    return table;
}

NextStepTable loadNextSteps(const std::filesystem::path& file,
                            const std::vector<const SceneDescription*>& scenes) {
    return parseNextSteps(readDataFile(file, kMaxNextStepBytes), utf8Of(file), scenes);
}

std::optional<StepSearch> lookUpNextStep(const NextStepTable& table,
                                         const std::vector<const SceneDescription*>& scenes,
                                         const HandlerRegistry& handlers,
                                         const std::vector<SceneNow>& now) {
    std::string state = encodeNow(scenes, now);
    if (const auto it = table.steps.find(compactKey(state)); it != table.steps.end())
        return it->second;
    // Asked between a click and its arrival sound: the table holds the state after it, as the
    // search would begin there.
    const Layout layout(scenes, {});
    Rehearsal game(layout, handlers);
    game.state = std::move(state);
    try {
        game.tick(kArrivalTimerMs);
    } catch (const Ended&) {
        return std::nullopt;
    }
    if (const auto it = table.steps.find(compactKey(game.state)); it != table.steps.end())
        return it->second;
    return std::nullopt;
}

bool movesTheGameOn(const std::vector<SceneNow>& before, const std::vector<SceneNow>& after) {
    for (std::size_t s = 0; s < before.size() && s < after.size(); ++s) {
        if (!before[s].loaded || !after[s].loaded) continue;
        const SceneFlags& a = before[s].flags;
        const SceneFlags& b = after[s].flags;
        if (a.size() != b.size()) return true;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].visible != b[i].visible || a[i].enabled != b[i].enabled) return true;
    }
    return false;
}

}  // namespace orval
