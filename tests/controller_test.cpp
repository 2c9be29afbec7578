// The game with a game controller: the left stick glides the pointer, A clicks, the other
// buttons ask what the binding table says (keyboard_test.cpp); a controller comes and goes in
// the middle of play.
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include <SDL.h>

#include "scenes/model/hit_test.h"
#include "shell/platform/pad_watch.h"
#include "shell/platform/sdl_platform.h"
#include "shell/platform/stage_platform.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

int controlAt(const Runtime& runtime, const std::string& scene, int x, int y) {
    return hitTest(runtime.view().description(scene), runtime.view().flags(scene), x, y);
}

int controlAt(const TestGame& game, const std::string& scene, int x, int y) {
    return controlAt(*game.runtime, scene, x, y);
}

bool onTarget(const TestGame& game, const Step& step) {
    const auto& pointer = game.platform.pointer();
    return pointer && game.runtime->view().windowOf(step.scene) == pointer->window &&
           controlAt(game, step.scene, pointer->point.x, pointer->point.y) ==
               controlAt(game, step.scene, step.x, step.y);
}

// Holds the stick towards the step's spot, frame by frame, pushed less as the pointer nears
// it, until the pointer lies on what the step's click would reach; then lets go. Returns how
// far the pointer went in each frame.
std::vector<double> glideTo(TestGame& game, const Step& step) {
    std::vector<double> moves;
    for (int frame = 0; !onTarget(game, step); ++frame) {
        EXPECT_LT(frame, 300) << "the pointer never reaches " << step.scene << " " << step.x << ", "
                              << step.y;
        if (frame >= 300) break;
        const auto from = game.platform.pointer();
        const bool there = from && game.runtime->view().windowOf(step.scene) == from->window;
        const double dx = there ? step.x - from->point.x : 0;
        const double dy = there ? step.y - from->point.y : 0;
        const double length = std::max(1.0, std::hypot(dx, dy));
        const double push = std::clamp(length / 80, 0.45, 1.0) * 32767 / length;
        // Where the pointer is in no window yet, any push brings it into the one in front.
        if (there)
            game.platform.tiltPad(static_cast<int>(dx * push), static_cast<int>(dy * push));
        else
            game.platform.tiltPad(16000, 0);
        game.wait(GamePads::kFrameMs);
        const auto to = game.platform.pointer();
        if (from && to && from->window == to->window)
            moves.push_back(std::hypot(to->point.x - from->point.x, to->point.y - from->point.y));
    }
    game.platform.tiltPad(0, 0);
    game.wait(0);
    return moves;
}

// From the main menu to the town map with the stick and A alone, B ending the line on the
// telephone; the controller pulled out there and plugged in again.
TEST(Controller, TheStickGlidesThePointerAndAClicksFromTheMenuToTheMap) {
    TestGame game;
    game.platform.plugPad();
    std::vector<double> longest;
    for (const Step& step : route::map) {
        if (step.scene.empty()) {
            game.wait(step.ms);
            continue;
        }
        SCOPED_TRACE(step.scene + " " + std::to_string(step.x) + ", " + std::to_string(step.y));
        const std::vector<double> moves = glideTo(game, step);
        if (moves.size() > longest.size()) longest = moves;
        game.platform.pressPad(PadButton::A);
        game.wait(0);
        if (step.scene != kTelephone.scene || step.x != kTelephone.x) continue;

        ASSERT_TRUE(game.runtime->view().subtitleShown()) << "the telephone did not answer";
        game.platform.pressPad(PadButton::B);
        game.wait(0);
        EXPECT_FALSE(game.runtime->view().subtitleShown());
        EXPECT_TRUE(game.platform.sounds().back().stoppedAt) << "B leaves the line speaking";

        // Pulled out: neither its stick nor its buttons do anything, and nothing says so.
        const GameState before = stateOf(game);
        const auto pointer = game.platform.pointer();
        game.platform.unplugPad();
        game.platform.tiltPad(32767, 0);
        game.platform.pressPad(PadButton::A);
        game.platform.pressPad(PadButton::Start);
        game.wait(500);
        EXPECT_EQ(game.platform.pointer(), pointer);
        EXPECT_EQ(stateOf(game), before);
        game.platform.plugPad();
    }
    EXPECT_EQ(game.windows().front(), "Mapa");
    EXPECT_TRUE(messagesOf(game).empty());
    // Smoothly: a few pixels a frame, faster the longer the stick is held.
    ASSERT_GT(longest.size(), 8u);
    for (const double move : longest) EXPECT_LE(move, 20);
    EXPECT_GT(*std::max_element(longest.begin(), longest.end()), 2 * longest.front());
}

// SDL's virtual joystick, as SDL sees a pad plugged in: the real platforms find it, read it
// and let it go, on the desktop's windows and on the stage.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.name = "virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&pad);
        joystick_ = index < 0 ? nullptr : SDL_JoystickOpen(index);
        EXPECT_TRUE(joystick_) << SDL_GetError();
    }
    ~VirtualPad() { unplug(); }
    void unplug() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    void set(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down);
    }
    void tilt(int x, int y) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

TEST(Controller, SdlsVirtualPadDrivesTheRealPlatforms) {
    const ScopedEnv video("SDL_VIDEODRIVER", "dummy"), audio("SDL_AUDIODRIVER", "dummy");
    // The dummy display gives no window the keyboard's focus, without which SDL keeps a pad's
    // reports from a program.
    const ScopedEnv background("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
    for (const bool onStage : {false, true}) {
        SCOPED_TRACE(onStage ? "the stage" : "desktop windows");
        std::unique_ptr<Platform> platform;
        if (onStage)
            platform = std::make_unique<StagePlatform>(false);
        else
            platform = std::make_unique<SdlPlatform>();
        Runtime runtime(*platform, sourceDir(), gameHandlers(), gameDescriptions(),
                        loadCaptions(sourceDir() / "data" / "captions.tsv", soundClips()));
        runtime.show("ORVAL");
        runtime.runFor(50);
        auto pad = std::make_unique<VirtualPad>();  // plugged in while the game runs
        runtime.runFor(50);
        const auto press = [&](SDL_GameControllerButton button) {
            pad->set(button, true);
            runtime.runFor(20);
            pad->set(button, false);
            runtime.runFor(20);
        };
        press(SDL_CONTROLLER_BUTTON_START);
        EXPECT_TRUE(runtime.view().isShown("Příběh"));
        press(SDL_CONTROLLER_BUTTON_START);
        ASSERT_TRUE(runtime.view().isShown("doma"));
        runtime.runFor(300);  // the telephone rings

        // Held to the right, the pointer glides right in the window, a little more each frame.
        const auto pointerX = [] {
            int x = 0;
            SDL_GetMouseState(&x, nullptr);
            return x;
        };
        press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);  // the mark, and the pointer, on a hotspot
        ASSERT_TRUE(runtime.view().focusMark());
        const int start = pointerX();
        const int way = runtime.view().focusMark()->point.x > 411 ? -1 : 1;  // towards the middle
        pad->tilt(way * 32767, 0);
        std::vector<int> xs;
        for (int frame = 0; frame < 40; ++frame) {
            runtime.runFor(GamePads::kFrameMs);
            xs.push_back(way * pointerX());
        }
        pad->tilt(0, 0);
        runtime.runFor(50);
        EXPECT_FALSE(runtime.view().focusMark()) << "the stick's move leaves the mark behind";
        EXPECT_GT(xs.back(), way * start + 100);
        EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
        EXPECT_GT(xs.back() - xs[xs.size() - 6], xs[5] - xs[0]) << "no faster when held";
        const int rest = pointerX();
        runtime.runFor(100);
        EXPECT_EQ(pointerX(), rest) << "the pointer glides on at rest";

        // The d-pad takes the mark to the telephone, A answers it, B ends the line.
        const auto onTelephone = [&] {
            const auto& mark = runtime.view().focusMark();
            return mark && mark->scene == kTelephone.scene &&
                   controlAt(runtime, kTelephone.scene, mark->point.x, mark->point.y) ==
                       controlAt(runtime, kTelephone.scene, kTelephone.x, kTelephone.y);
        };
        for (int steps = 0; steps < 16 && !onTelephone(); ++steps) {
            const auto& mark = runtime.view().focusMark();
            const int dx = mark && mark->scene == "doma" ? kTelephone.x - mark->point.x : 0;
            const int dy = mark && mark->scene == "doma" ? kTelephone.y - mark->point.y : -1;
            press(
                std::abs(dx) > std::abs(dy)
                    ? (dx > 0 ? SDL_CONTROLLER_BUTTON_DPAD_RIGHT : SDL_CONTROLLER_BUTTON_DPAD_LEFT)
                    : (dy > 0 ? SDL_CONTROLLER_BUTTON_DPAD_DOWN : SDL_CONTROLLER_BUTTON_DPAD_UP));
        }
        ASSERT_TRUE(onTelephone());
        press(SDL_CONTROLLER_BUTTON_A);
        ASSERT_TRUE(runtime.view().subtitleShown()) << "A did not answer the telephone";
        press(SDL_CONTROLLER_BUTTON_B);
        EXPECT_FALSE(runtime.view().subtitleShown());

        // Pulled out while its stick is held: the pointer stops, and nothing says so.
        pad->tilt(32767, 0);
        runtime.runFor(50);
        pad->unplug();
        runtime.runFor(50);
        const int stopped = pointerX();
        runtime.runFor(100);
        EXPECT_EQ(pointerX(), stopped);
        pad = std::make_unique<VirtualPad>();
        runtime.runFor(50);
        press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        EXPECT_TRUE(runtime.view().focusMark()) << "plugged in again, the pad is not found";
        EXPECT_EQ(runtime.view().fatalMessage(), "");
        EXPECT_FALSE(runtime.view().openBox());
    }
}

// The watch of the controllers sleeps while nothing comes; a device appearing wakes the game,
// once until the game has read the controllers, and again a little later, when the desktop
// has let the game open it.
TEST(Controller, APadPluggedInWakesTheWaitAndNothingElseDoes) {
    TempDir devices;
    std::atomic<int> wakes{0};
    PadWatch watch([&] { ++wakes; }, devices.path());
    if (!watch.watching()) GTEST_SKIP() << "SDL itself looks at the controllers on this system";
    const auto after = [&](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return wakes.load();
    };
    EXPECT_EQ(after(300), 0);
    writeFile(devices.path() / "event7", "");
    EXPECT_EQ(after(150), 1);
    EXPECT_EQ(after(200), 1) << "woken again before the game read the controllers";
    watch.rearm();
    EXPECT_EQ(after(800), 2) << "no second look once the desktop has let the device be opened";
}

}  // namespace
}  // namespace orval::testing
