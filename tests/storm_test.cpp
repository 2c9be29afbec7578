// A storm of random input through the headless game: clicks and moves anywhere in any window,
// every key of the binding table and a few it has no use for, a controller's stick and buttons,
// close requests, quits and time passing, a new game whenever one ends.
// Nothing a player or a desktop does may end in a fatal error, a crash or a sanitizer report.
#include <random>
#include <variant>

#include "shell/bindings.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

using Type = InputEvent::Type;

// Every key the binding table knows, with the modifiers it asks for, and two it does not.
std::vector<KeyChord> everyKey() {
    std::vector<KeyChord> keys{{Key::Q, {}}, {Key::F2, {.alt = true}}};
    for (const BindingColumn& column : bindingTable())
        for (const BindingLine& line : column.lines)
            for (const Binding& binding : line.bindings)
                if (const KeyChord* chord = std::get_if<KeyChord>(&binding.input))
                    keys.push_back(*chord);
    return keys;
}

TEST(Storm, RandomInputNeverFailsTheGame) {
    std::mt19937 random(20261208u);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::vector<KeyChord> keys = everyKey();
    auto game = std::make_unique<TestGame>();
    int games = 1;
    for (int event = 0; event < 30000; ++event) {
        if (game->ended()) {
            ASSERT_EQ(game->runtime->view().exitStatus(), 0)
                << game->runtime->view().fatalMessage();
            game = std::make_unique<TestGame>();
            ++games;
        }
        const std::vector<std::string> windows = game->windows();
        ASSERT_FALSE(windows.empty());
        // The front window most of the time, as a player's pointer mostly is.
        const std::string& scene =
            windows[below(4) == 0 ? below(static_cast<int>(windows.size())) : 0];
        const Rect r = game->windowRect(scene);
        const int x = below(r.w + 20) - 10, y = below(r.h + 20) - 10;  // a little outside too
        const WindowId window = *game->runtime->view().windowOf(scene);
        switch (below(100)) {
            case 0:
                game->platform.queue({Type::CloseRequest, window, 0, 0});
                break;
            case 1:
                game->platform.queue({Type::Quit, 0, 0, 0});
                break;
            case 2:
            case 3:
            case 4:
            case 5: {
                const KeyChord& key =
                    keys[static_cast<std::size_t>(below(static_cast<int>(keys.size())))];
                game->platform.pressKey(key.key, window, key.with);
                break;
            }
            case 6:
            case 7:
                game->wait(static_cast<std::uint64_t>(below(20000)));
                continue;
            case 8:
                (void)game->pixel(scene, std::clamp(x, 0, r.w - 1), std::clamp(y, 0, r.h - 1));
                continue;
            case 9:
            case 10:
                // The controller: plugged in or out, its stick held anywhere, any button.
                switch (below(5)) {
                    case 0:
                        below(2) ? game->platform.plugPad() : game->platform.unplugPad();
                        break;
                    case 1:
                        game->platform.tiltPad(below(65536) - 32768, below(65536) - 32768);
                        break;
                    default:
                        game->platform.pressPad(static_cast<PadButton>(below(11)));
                }
                break;
            case 11:
            case 12: {
                // A finger: a tap, a slide, or held until the hotspots show.
                const std::uint64_t now = game->platform.now();
                const std::uint64_t held = static_cast<std::uint64_t>(below(3) * 400);
                game->platform.queue({.type = Type::TouchDown, .window = window, .x = x, .y = y},
                                     now);
                if (below(4) == 0)
                    game->platform.queue(
                        {.type = Type::TouchMove, .window = window, .x = x + 30, .y = y}, now);
                game->platform.queue({.type = Type::TouchUp, .window = window, .x = x, .y = y},
                                     now + held);
                break;
            }
            default:
                // A press and a release, not always at the same spot, the pointer moving between.
                game->platform.queue({Type::MouseMove, window, x, y});
                game->platform.queue({Type::MouseDown, window, x, y});
                if (below(8) == 0) game->platform.queue({Type::MouseMove, window, x + 30, y});
                game->platform.queue({Type::MouseUp, window, below(8) ? x : x + 30, y});
        }
        game->wait(static_cast<std::uint64_t>(below(3) * 100));
        ASSERT_EQ(game->runtime->view().fatalMessage(), "") << "after event " << event;
    }
    EXPECT_GT(games, 10);  // the storm did end games (and start new ones), not only wander
}

}  // namespace
}  // namespace orval::testing
