// A storm of random input through the headless game: clicks and moves anywhere in any window,
// every key the game knows, a controller's stick and buttons, close requests, quits and time
// passing, a new game whenever one ends.
// Nothing a player or a desktop does may end in a fatal error, a crash or a sanitizer report.
#include <random>

#include "tests/test_support.h"

namespace orval::testing {
namespace {

using Type = InputEvent::Type;

// Every key the platform hands the game; a key the game learns joins this list.
const InputEvent kKeys[] = {
    {Type::KeyActivate},
    {Type::KeyCancel},
    {Type::Key, 0, 0, 0, ' '},
    {Type::Key, 0, 0, 0, 't'},
    {Type::Key, 0, 0, 0, 'm'},
    {Type::Key, 0, 0, 0, 'h'},
    {Type::Help},
    {Type::Start},
    {Type::Focus, 0, 0, 0, 0, FocusStep::Next},
    {Type::Focus, 0, 0, 0, 0, FocusStep::Previous},
    {Type::Focus, 0, 0, 0, 0, FocusStep::Left},
    {Type::Focus, 0, 0, 0, 0, FocusStep::Right},
    {Type::Focus, 0, 0, 0, 0, FocusStep::Up},
    {Type::Focus, 0, 0, 0, 0, FocusStep::Down},
};

TEST(Storm, RandomInputNeverFailsTheGame) {
    std::mt19937 random(20261208u);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto game = std::make_unique<TestGame>();
    int games = 1;
    for (int event = 0; event < 30000; ++event) {
        if (game->ended()) {
            ASSERT_EQ(game->runtime->exitStatus(), 0) << game->runtime->fatalMessage();
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
        const WindowId window = *game->runtime->windowOf(scene);
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
                InputEvent key = kKeys[below(static_cast<int>(std::size(kKeys)))];
                key.window = window;
                game->platform.queue(key);
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
                        game->platform.pressPad(static_cast<PadButton>(below(10)));
                }
                break;
            default:
                // A press and a release, not always at the same spot, the pointer moving between.
                game->platform.queue({Type::MouseMove, window, x, y});
                game->platform.queue({Type::MouseDown, window, x, y});
                if (below(8) == 0) game->platform.queue({Type::MouseMove, window, x + 30, y});
                game->platform.queue({Type::MouseUp, window, below(8) ? x : x + 30, y});
        }
        game->wait(static_cast<std::uint64_t>(below(3) * 100));
        ASSERT_EQ(game->runtime->fatalMessage(), "") << "after event " << event;
    }
    EXPECT_GT(games, 10);  // the storm did end games (and start new ones), not only wander
}

}  // namespace
}  // namespace orval::testing
