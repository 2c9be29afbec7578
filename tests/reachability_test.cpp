// Every state the game can reach by clicks, explored breadth first: a state is the set of loaded
// scenes, which of them are shown, and every flag of every loaded scene. From each state every
// clickable control of a shown scene is clicked at the centre of its visible area (when the hit
// test there reaches it), and while a timer ticks, 18500 ms may pass. The program's ends ("X",
// KONEC, the final screen's buttons) are not followed. From every state reached, the final
// screen must still be reachable, and the hint (F2) must name a click that moves the game on
// first on a shortest way there.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "scenes/model/hints.h"
#include "scenes/model/hit_test.h"
#include "shell/next_step.h"
#include "tests/test_game.h"

namespace {

using orval::testing::TestGame;

constexpr std::uint64_t kArrestDelay = 18500;
// After each click the game runs this long, so that arrival sounds (20 and 100 ms) have played.
constexpr std::uint64_t kAfterClick = 100;

struct SceneSnapshot {
    std::string scene;
    bool shown = false;
    orval::SceneFlags flags;  // for a timer, Enabled means ticking
};
using Snapshot = std::vector<SceneSnapshot>;  // the loaded scenes, in the game's scene order

Snapshot capture(const TestGame& game) {
    Snapshot snapshot;
    for (const std::string& name : orval::sceneNames()) {
        if (!game.runtime->view().isLoaded(name)) continue;
        snapshot.push_back(
            {name, game.runtime->view().isShown(name), game.runtime->view().flags(name)});
    }
    return snapshot;
}

std::string keyOf(const Snapshot& snapshot) {
    std::string key;
    for (const SceneSnapshot& scene : snapshot) {
        key += scene.scene;
        key += scene.shown ? '+' : '-';
        for (const orval::ControlFlags& f : scene.flags)
            key += static_cast<char>('0' + (f.visible ? 2 : 0) + (f.enabled ? 1 : 0));
        key += ';';
    }
    return key;
}

bool hasScene(const Snapshot& snapshot, const std::string& name) {
    for (const SceneSnapshot& scene : snapshot)
        if (scene.scene == name) return true;
    return false;
}

bool ticking(const TestGame& game, const Snapshot& snapshot) {
    for (const SceneSnapshot& scene : snapshot) {
        const orval::SceneDescription& d = game.runtime->view().description(scene.scene);
        for (std::size_t i = 0; i < d.controls.size(); ++i)
            if (d.controls[i].kind == orval::ControlKind::Timer && scene.flags[i].enabled)
                return true;
    }
    return false;
}

// Puts a running game into a captured state with the runtime's own operations (Show, Unload,
// setting flags). A ticking timer starts its interval afresh. Returns the pixels of the windows
// it had to create.
std::size_t restore(TestGame& game, const Snapshot& target) {
    orval::Runtime& runtime = *game.runtime;
    std::size_t created = 0;
    for (const SceneSnapshot& scene : target) {
        const orval::SceneDescription& d = runtime.view().description(scene.scene);
        bool loaded = runtime.view().isLoaded(scene.scene);
        if (loaded && runtime.view().isShown(scene.scene) && !scene.shown) {
            runtime.unload(scene.scene);  // to be loaded again, hidden
            loaded = false;
        }
        if (!loaded) {
            created += static_cast<std::size_t>(d.clientWidth * d.clientHeight);
            if (scene.shown)
                runtime.show(scene.scene);
            else
                (void)runtime.isVisible(scene.scene, d.controls.front().name);
        } else if (scene.shown && !runtime.view().isShown(scene.scene)) {
            runtime.show(scene.scene);
        }
    }
    for (const std::string& name : orval::sceneNames())
        if (runtime.view().isLoaded(name) && !hasScene(target, name)) runtime.unload(name);
    for (const SceneSnapshot& scene : target) {
        const orval::SceneDescription& d = runtime.view().description(scene.scene);
        const orval::SceneFlags have = runtime.view().flags(scene.scene);
        for (std::size_t i = 0; i < d.controls.size(); ++i) {
            const orval::ControlDescription& c = d.controls[i];
            const orval::ControlFlags& want = scene.flags[i];
            if (c.kind == orval::ControlKind::Timer) {
                runtime.setEnabled(scene.scene, c.name, false);
                if (want.enabled) runtime.setEnabled(scene.scene, c.name, true);
                continue;
            }
            if (have[i].visible != want.visible)
                runtime.setVisible(scene.scene, c.name, want.visible);
            if (have[i].enabled != want.enabled)
                runtime.setEnabled(scene.scene, c.name, want.enabled);
        }
    }
    return created;
}

// What the player does: a click at a window pixel, or waiting for the arrest to end.
struct Action {
    std::string scene;  // empty: 18500 ms pass
    int x = 0, y = 0;
    int control = -1;
};

std::string describe(const TestGame& game, const Action& a) {
    if (a.scene.empty()) return "wait " + std::to_string(kArrestDelay) + " ms";
    return a.scene + " " +
           game.runtime->view()
               .description(a.scene)
               .controls[static_cast<std::size_t>(a.control)]
               .name +
           " at (" + std::to_string(a.x) + ", " + std::to_string(a.y) + ")";
}

// The ends of the program: every "X" label, KONEC and both buttons of the final screen.
bool endsTheProgram(const std::string& scene, const orval::ControlDescription& c) {
    return scene == "win" || (scene == "ORVAL" && c.name == "Picture6") ||
           (c.kind == orval::ControlKind::Label && c.caption == "X");
}

bool shownWithHolders(const orval::SceneDescription& d, const orval::SceneFlags& flags, int i) {
    for (int p = i; p >= 0; p = d.controls[static_cast<std::size_t>(p)].parent)
        if (!flags[static_cast<std::size_t>(p)].visible) return false;
    return true;
}

// Whether the pointer moving over the scene can change it (only the main menu's highlights).
bool reactsToMoves(const orval::SceneDescription& d) {
    if (d.handlers.contains(orval::EventKind::MouseMove)) return true;
    for (const orval::ControlDescription& c : d.controls)
        if (c.handlers.contains(orval::EventKind::MouseMove)) return true;
    return false;
}

// Clickable controls of the shown scenes: a Click handler, shown with their holders, enabled,
// and reached by the hit test at the centre of their visible area. Where moves change the
// scene, that last test is made again after the pointer's move (perform).
std::vector<Action> candidates(const TestGame& game, const Snapshot& state) {
    std::vector<Action> actions;
    for (const SceneSnapshot& scene : state) {
        if (!scene.shown) continue;
        const orval::SceneDescription& d = game.runtime->view().description(scene.scene);
        const bool moves = reactsToMoves(d);
        for (std::size_t i = 0; i < d.controls.size(); ++i) {
            const orval::ControlDescription& c = d.controls[i];
            const int index = static_cast<int>(i);
            if (!c.handlers.contains(orval::EventKind::Click) || endsTheProgram(scene.scene, c))
                continue;
            if (!scene.flags[i].enabled || !shownWithHolders(d, scene.flags, index)) continue;
            const orval::Rect r = orval::visibleRect(d, index);
            if (r.w <= 0 || r.h <= 0) continue;
            const int x = r.x + r.w / 2, y = r.y + r.h / 2;
            if (!moves && orval::hitTest(d, scene.flags, x, y) != index) continue;
            actions.push_back({scene.scene, x, y, index});
        }
    }
    if (ticking(game, state)) actions.push_back({});
    return actions;
}

// Does the action on a game that is in the state it starts from. Returns false when the click
// does not reach the control (the pointer's move over it changed what lies there).
bool perform(TestGame& game, const Action& a) {
    if (a.scene.empty()) {
        game.wait(kArrestDelay);
        return true;
    }
    game.move(a.scene, a.x, a.y);
    if (!game.loaded(a.scene) ||
        orval::hitTest(game.runtime->view().description(a.scene),
                       game.runtime->view().flags(a.scene), a.x, a.y) != a.control)
        return false;
    game.click(a.scene, a.x, a.y);
    game.wait(kAfterClick);
    return true;
}

struct Node {
    Snapshot state;
    std::string key;
    int parent = -1;
    Action via;
    std::vector<int> next;
    std::vector<Action> nextVia;  // the action of each transition in `next`
    bool finalScreen = false;
};

// The state as the search of the next step takes it: every scene in the game's order.
std::vector<orval::SceneNow> asNow(const Snapshot& snapshot) {
    std::vector<orval::SceneNow> now;
    for (const std::string& name : orval::sceneNames()) {
        orval::SceneNow& scene = now.emplace_back();
        for (const SceneSnapshot& s : snapshot)
            if (s.scene == name) scene = {true, s.shown, s.flags};
    }
    return now;
}

std::vector<Action> pathTo(const std::vector<Node>& nodes, int node) {
    std::vector<Action> path;
    for (int n = node; nodes[static_cast<std::size_t>(n)].parent >= 0;
         n = nodes[static_cast<std::size_t>(n)].parent)
        path.insert(path.begin(), nodes[static_cast<std::size_t>(n)].via);
    return path;
}

TEST(Reachability, TheFinalScreenCanBeReachedFromEveryState) {
    const auto started = std::chrono::steady_clock::now();
    constexpr std::size_t kLimit = 400000;             // states; far above what the game has
    constexpr std::size_t kFreshGameAfter = 30000000;  // window pixels created by one game

    auto game = std::make_unique<TestGame>();
    std::size_t pixelsCreated = 0;
    std::vector<Node> nodes;
    std::unordered_map<std::string, int> known;
    std::deque<int> queue;

    const auto add = [&](Snapshot state, int parent, const Action& via) {
        std::string key = keyOf(state);
        if (const auto it = known.find(key); it != known.end()) return it->second;
        const int id = static_cast<int>(nodes.size());
        Node node;
        node.finalScreen = hasScene(state, "win");
        node.state = std::move(state);
        node.key = key;
        node.parent = parent;
        node.via = via;
        nodes.push_back(std::move(node));
        known.emplace(std::move(key), id);
        if (!nodes.back().finalScreen) queue.push_back(id);
        return id;
    };
    add(capture(*game), -1, {});
    std::string current = nodes.front().key;
    std::size_t transitions = 0, divertedClicks = 0;
    std::set<std::string> clicked;

    while (!queue.empty()) {
        ASSERT_LT(nodes.size(), kLimit) << "the game has far more states than expected";
        const int id = queue.front();
        queue.pop_front();
        const Snapshot state = nodes[static_cast<std::size_t>(id)].state;
        const std::string key = nodes[static_cast<std::size_t>(id)].key;
        for (const Action& action : candidates(*game, state)) {
            if (current != key || ticking(*game, state)) {
                if (pixelsCreated > kFreshGameAfter) {  // closed windows keep their pictures
                    game = std::make_unique<TestGame>();
                    pixelsCreated = 0;
                }
                pixelsCreated += restore(*game, state);
                ASSERT_EQ(keyOf(capture(*game)), key) << "a state could not be restored";
                current = key;
            }
            if (!perform(*game, action)) {
                ++divertedClicks;
                current = keyOf(capture(*game));
                continue;
            }
            if (game->ended()) {
                ADD_FAILURE() << describe(*game, action) << " ended the program ("
                              << game->runtime->view().fatalMessage() << ")";
                game = std::make_unique<TestGame>();
                pixelsCreated = 0;
                current = keyOf(capture(*game));
                continue;
            }
            if (!action.scene.empty()) clicked.insert(describe(*game, action));
            Snapshot after = capture(*game);
            current = keyOf(after);
            for (const SceneSnapshot& scene : after)
                if (!hasScene(state, scene.scene))
                    pixelsCreated += static_cast<std::size_t>(
                        game->runtime->view().description(scene.scene).clientWidth *
                        game->runtime->view().description(scene.scene).clientHeight);
            const int next = add(std::move(after), id, action);
            nodes[static_cast<std::size_t>(id)].next.push_back(next);
            nodes[static_cast<std::size_t>(id)].nextVia.push_back(action);
            ++transitions;
        }
    }

    // Which states lead to the final screen: walk the transitions backwards from it.
    std::vector<std::vector<int>> previous(nodes.size());
    for (std::size_t n = 0; n < nodes.size(); ++n)
        for (const int next : nodes[n].next)
            previous[static_cast<std::size_t>(next)].push_back(static_cast<int>(n));
    std::vector<bool> leadsToEnd(nodes.size(), false);
    std::deque<int> back;
    std::size_t finalStates = 0;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (nodes[n].finalScreen) {
            leadsToEnd[n] = true;
            back.push_back(static_cast<int>(n));
            ++finalStates;
        }
    while (!back.empty()) {
        const int n = back.front();
        back.pop_front();
        for (const int p : previous[static_cast<std::size_t>(n)])
            if (!leadsToEnd[static_cast<std::size_t>(p)]) {
                leadsToEnd[static_cast<std::size_t>(p)] = true;
                back.push_back(p);
            }
    }
    EXPECT_GT(finalStates, 0u);
    int reported = 0;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        if (leadsToEnd[n] || reported >= 5) continue;
        ++reported;
        std::string path;
        for (const Action& a : pathTo(nodes, static_cast<int>(n)))
            path += "\n  " + describe(*game, a);
        ADD_FAILURE() << "no way to the final screen from the state after:" << path;
    }

    // The hint: from every state, F2 names a click that moves the game on (changes a flag of a
    // scene loaded before and after) and that comes first among such clicks on some shortest
    // way to the final screen; only waiting is left where no click is. Each has its words.
    std::vector<int> distance(nodes.size(), -1);
    std::vector<int> byDistance;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (nodes[n].finalScreen) {
            distance[n] = 0;
            byDistance.push_back(static_cast<int>(n));
        }
    for (std::size_t at = 0; at < byDistance.size(); ++at) {
        const int n = byDistance[at];
        for (const int p : previous[static_cast<std::size_t>(n)])
            if (distance[static_cast<std::size_t>(p)] < 0) {
                distance[static_cast<std::size_t>(p)] = distance[static_cast<std::size_t>(n)] + 1;
                byDistance.push_back(p);
            }
    }
    std::vector<std::set<std::string>> firstSteps(nodes.size());
    for (const int n : byDistance) {
        const Node& node = nodes[static_cast<std::size_t>(n)];
        for (std::size_t e = 0; e < node.next.size(); ++e) {
            const auto t = static_cast<std::size_t>(node.next[e]);
            if (distance[t] != distance[static_cast<std::size_t>(n)] - 1) continue;
            const Action& a = node.nextVia[e];
            if (!a.scene.empty() && orval::movesTheGameOn(asNow(node.state), asNow(nodes[t].state)))
                firstSteps[static_cast<std::size_t>(n)].insert(describe(*game, a));
            else
                firstSteps[static_cast<std::size_t>(n)].insert(firstSteps[t].begin(),
                                                               firstSteps[t].end());
        }
    }
    const orval::Hints hints = orval::loadHints(orval::testing::sourceDir() / "data" / "hints.tsv");
    // The table F2 looks the step up in must say what the search says, in every state.
    const char* const remake = "data/next-steps.tsv is out of date: run tools/make-hints";
    std::vector<const orval::SceneDescription*> described;
    for (const std::string& name : orval::sceneNames())
        described.push_back(&game->runtime->view().description(name));
    const orval::NextStepTable table =
        orval::loadNextSteps(orval::testing::sourceDir() / "data" / "next-steps.tsv", described);
    EXPECT_EQ(table.descriptions, game->runtime->view().descriptionsFingerprint())
        << remake << " (made from other descriptions)";
    std::size_t staleSteps = 0;
    std::set<std::string> hinted;
    std::size_t wrongHints = 0;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        if (nodes[n].finalScreen || distance[n] < 0) continue;
        if (pixelsCreated > kFreshGameAfter) {
            game = std::make_unique<TestGame>();
            pixelsCreated = 0;
        }
        pixelsCreated += restore(*game, nodes[n].state);
        const orval::StepSearch found = game->runtime->view().searchedNextStep();
        const std::optional<orval::StepSearch> tabled = game->runtime->view().tabledNextStep(table);
        if ((!tabled || tabled->step != found.step || tabled->clicks != found.clicks) &&
            ++staleSteps <= 3)
            ADD_FAILURE() << remake << " ("
                          << (tabled ? "its step differs from the search's" : "a state it lacks")
                          << ") after:" << [&] {
                                 std::string path;
                                 for (const Action& a : pathTo(nodes, static_cast<int>(n)))
                                     path += "\n  " + describe(*game, a);
                                 return path;
                             }();
        std::string named = "only waiting";
        if (found.step) {
            const orval::SceneDescription& d = game->runtime->view().description(found.step->scene);
            const int control = d.find(found.step->control);
            const orval::Rect r = orval::visibleRect(d, control);
            named = describe(*game, {found.step->scene, r.x + r.w / 2, r.y + r.h / 2, control});
            hinted.insert(found.step->scene + " " + found.step->control);
            EXPECT_TRUE(orval::findHint(hints, found.step->scene, found.step->control))
                << "data/hints.tsv has no words for " << named;
        }
        const std::set<std::string>& right = firstSteps[n];
        const bool ok =
            (found.step ? right.contains(named) : right.empty()) && found.clicks == distance[n];
        if (ok || ++wrongHints > 5) continue;
        std::string path, expected;
        for (const Action& a : pathTo(nodes, static_cast<int>(n)))
            path += "\n  " + describe(*game, a);
        for (const std::string& s : right) expected += "\n  " + s;
        ADD_FAILURE() << "the hint names " << named << ", " << found.clicks
                      << " clicks from the end (" << distance[n]
                      << " on the shortest way), after:" << path
                      << "\nwhere a shortest way first moves the game on with:" << expected;
    }
    std::printf("hints: %zu clicks named as the next step; %zu states the table has wrong\n",
                hinted.size(), staleSteps);
    for (const orval::Hint& hint : hints)
        for (const std::string& control : hint.controls)
            if (!hinted.contains(hint.scene + " " + control))
                std::printf("hints: %s %s is never the next step\n", hint.scene.c_str(),
                            control.c_str());

    // Every scene comes up in some state, and every control with a Click handler is clicked
    // somewhere, except the ends of the program and the main menu's normal "O ORVAL KESK"
    // picture, whose hotspot hides it as the pointer arrives (its highlighted copy takes the
    // click), and the use of the peanuts, which nothing enables.
    std::set<std::string> scenesSeen;
    for (const Node& node : nodes)
        for (const SceneSnapshot& scene : node.state) scenesSeen.insert(scene.scene);
    EXPECT_EQ(scenesSeen,
              std::set<std::string>(orval::sceneNames().begin(), orval::sceneNames().end()));
    std::set<std::string> neverClicked;
    for (const std::string& name : orval::sceneNames()) {
        const orval::SceneDescription& d = game->runtime->view().description(name);
        for (std::size_t i = 0; i < d.controls.size(); ++i) {
            const orval::ControlDescription& c = d.controls[i];
            if (!c.handlers.contains(orval::EventKind::Click) || endsTheProgram(name, c)) continue;
            bool found = false;
            for (const std::string& done : clicked)
                if (done.rfind(name + " " + c.name + " at", 0) == 0) found = true;
            if (!found) neverClicked.insert(name + " " + c.name);
        }
    }
    EXPECT_EQ(neverClicked,
              (std::set<std::string>{"ORVAL Image2", "ORVAL Picture3", "Inventář Image4"}));
    EXPECT_GT(nodes.size(), 1000u);

    // A sample of states, reached again on fresh games by their clicks alone, must come out
    // the same: the restoring above adds nothing of its own.
    const std::size_t samples = 24;
    for (std::size_t k = 0; k < samples; ++k) {
        const std::size_t n = (nodes.size() - 1) * k / (samples - 1);
        TestGame fresh;
        std::string path;
        for (const Action& a : pathTo(nodes, static_cast<int>(n))) {
            path += "\n  " + describe(fresh, a);
            ASSERT_TRUE(perform(fresh, a)) << path;
        }
        EXPECT_EQ(keyOf(capture(fresh)), nodes[n].key) << "replayed differently:" << path;
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "reachability: %zu states, %zu transitions, %zu with the final screen, "
        "%zu clicks diverted by the pointer's move; %.1f s\n",
        nodes.size(), transitions, finalStates, divertedClicks, seconds);
    RecordProperty("states", static_cast<int>(nodes.size()));
    RecordProperty("transitions", static_cast<int>(transitions));
}

}  // namespace
