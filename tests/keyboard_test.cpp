// The game without a mouse: what each key and controller button asks of the game; the focus
// mark that Tab and the arrow keys move, the pointer follows and Enter clicks; the card of the
// controls; the sign that the sound is off.
#include <variant>

#include <SDL.h>

#include "scenes/model/hit_test.h"
#include "shell/bindings.h"
#include "shell/platform/game_pad.h"
#include "shell/platform/sdl_events.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// Every key as SDL reads it, with the modifiers held, and every controller button, through the
// platform's reading and the binding table: what the player asks of the game with it.
TEST(Keyboard, EachKeyAndButtonAsksForItsAction) {
    struct SdlKey {
        SDL_Keycode code;
        Uint16 held = KMOD_NONE;
    };
    struct Row {
        std::string pressed;
        std::variant<SdlKey, PadButton> input;
        std::optional<Action> action;
    };
    using enum Action;
    const Row rows[] = {
        {"Enter", SdlKey{SDLK_RETURN}, Activate},
        {"keypad Enter", SdlKey{SDLK_KP_ENTER}, Activate},
        {"Shift+Enter", SdlKey{SDLK_RETURN, KMOD_LSHIFT}, Activate},
        {"Ctrl+Enter", SdlKey{SDLK_RETURN, KMOD_RCTRL}, Activate},
        {"Alt+Enter", SdlKey{SDLK_RETURN, KMOD_LALT}, ToggleFullscreen},
        {"Alt+keypad Enter", SdlKey{SDLK_KP_ENTER, KMOD_RALT}, ToggleFullscreen},
        {"Ctrl+Alt+Enter", SdlKey{SDLK_RETURN, KMOD_LCTRL | KMOD_LALT}, ToggleFullscreen},
        {"F11", SdlKey{SDLK_F11}, ToggleFullscreen},
        {"Escape", SdlKey{SDLK_ESCAPE}, Cancel},
        {"Tab", SdlKey{SDLK_TAB}, NextHotspot},
        {"Alt+Tab", SdlKey{SDLK_TAB, KMOD_LALT}, NextHotspot},
        {"Shift+Tab", SdlKey{SDLK_TAB, KMOD_RSHIFT}, PreviousHotspot},
        {"Alt+Shift+Tab", SdlKey{SDLK_TAB, KMOD_LALT | KMOD_LSHIFT}, PreviousHotspot},
        {"Ctrl+Tab", SdlKey{SDLK_TAB, KMOD_LCTRL}, NextWindow},
        {"Ctrl+Shift+Tab", SdlKey{SDLK_TAB, KMOD_LCTRL | KMOD_LSHIFT}, NextWindow},
        {"left arrow", SdlKey{SDLK_LEFT}, Left},
        {"right arrow", SdlKey{SDLK_RIGHT}, Right},
        {"up arrow", SdlKey{SDLK_UP, KMOD_LSHIFT}, Up},
        {"down arrow", SdlKey{SDLK_DOWN}, Down},
        {"Space", SdlKey{SDLK_SPACE}, SkipLine},
        {"T", SdlKey{SDLK_t}, ToggleSubtitles},
        {"Shift+T", SdlKey{SDLK_t, KMOD_LSHIFT}, ToggleSubtitles},
        {"M", SdlKey{SDLK_m}, ToggleSound},
        {"H", SdlKey{SDLK_h}, ShowHotspots},
        {"F1", SdlKey{SDLK_F1}, ShowControls},
        {"L", SdlKey{SDLK_l}, ToggleNames},
        {"A key the game has no use for", SdlKey{SDLK_q}, std::nullopt},
        {"F2", SdlKey{SDLK_F2}, AskHint},
        {"N", SdlKey{SDLK_n}, OpenNotebook},
        {"S", SdlKey{SDLK_s}, ToggleSpeech},
        {"the controller's A, the mouse's button", PadButton::A, std::nullopt},
        {"B", PadButton::B, SkipLine},
        {"X", PadButton::X, ToggleSubtitles},
        {"Y", PadButton::Y, ShowHotspots},
        {"Back", PadButton::Back, ToggleSound},
        {"Start", PadButton::Start, Start},
        {"d-pad up", PadButton::Up, Up},
        {"d-pad down", PadButton::Down, Down},
        {"d-pad left", PadButton::Left, Left},
        {"d-pad right", PadButton::Right, Right},
        {"LB", PadButton::LeftShoulder, OpenNotebook},
        {"RB", PadButton::RightShoulder, AskHint},
        {"the left stick pressed, L's", PadButton::LeftStick, ToggleNames},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pressed);
        std::optional<InputEvent> input;
        if (const SdlKey* key = std::get_if<SdlKey>(&row.input)) {
            SDL_Event event{};
            event.type = SDL_KEYDOWN;
            event.key.keysym.sym = key->code;
            event.key.keysym.mod = key->held;
            const DeviceEvent read = readDeviceEvent(event);
            if (read.kind == DeviceEvent::Kind::Input) input = read.input;
            event.key.repeat = 1;  // held on: the same key once, not again at every repeat
            EXPECT_EQ(readDeviceEvent(event).kind, DeviceEvent::Kind::Nothing);
        } else {
            GamePads pads;
            pads.take({PadEvent::Kind::Plugged}, 0);
            const PadButton button = std::get<PadButton>(row.input);
            input = pads.take({PadEvent::Kind::Pressed, 0, button}, 0);
            if (button == PadButton::A) {
                EXPECT_EQ(input.value_or(InputEvent{}).type, InputEvent::Type::MouseDown);
            }
        }
        EXPECT_EQ(input ? actionOf(*input) : std::nullopt, row.action);
    }
}

// The control a click at a pixel of the scene's window would reach now.
int controlAt(const TestGame& game, const std::string& scene, int x, int y) {
    return hitTest(game.runtime->view().description(scene), game.runtime->view().flags(scene), x,
                   y);
}

// Whether the mark stands on what the step's click would reach.
bool marked(const TestGame& game, const Step& step) {
    const auto& mark = game.runtime->view().focusMark();
    return mark && mark->scene == step.scene &&
           controlAt(game, step.scene, mark->point.x, mark->point.y) ==
               controlAt(game, step.scene, step.x, step.y);
}

struct KeysUsed {
    int tabs = 0, arrows = 0, spaces = 0;
};

// Brings the mark onto what the step's click would reach: by the arrow key towards it while
// that brings the mark nearer, then by Tab. The pointer follows the mark all the way.
void markByKeys(TestGame& game, const Step& step, KeysUsed& used) {
    bool arrowsHelp = true;
    const auto distance = [&](const FocusMark::Spot& spot) {
        const Rect from = game.windowRect(spot.scene), to = game.windowRect(step.scene);
        return std::pair<long, long>{to.x + step.x - from.x - spot.point.x,
                                     to.y + step.y - from.y - spot.point.y};
    };
    for (int presses = 0; !marked(game, step); ++presses) {
        ASSERT_LT(presses, 40) << "the mark never reaches " << step.scene << " " << step.x << ", "
                               << step.y;
        const std::optional<FocusMark::Spot> before = game.runtime->view().focusMark();
        Key key = Key::Tab;
        long away = 0;
        if (arrowsHelp && before) {
            const auto [dx, dy] = distance(*before);
            key = std::abs(dx) > std::abs(dy) ? (dx > 0 ? Key::Right : Key::Left)
                                              : (dy > 0 ? Key::Down : Key::Up);
            away = dx * dx + dy * dy;
        }
        game.pressKey(key);
        const std::optional<FocusMark::Spot> after = game.runtime->view().focusMark();
        ASSERT_TRUE(after) << "a key took the mark away";
        const WindowPoint pointer{*game.runtime->view().windowOf(after->scene), after->point};
        EXPECT_EQ(game.platform.pointer(), pointer) << "the pointer does not follow the mark";
        if (key == Key::Tab) {
            ++used.tabs;
            continue;
        }
        ++used.arrows;
        const auto [dx, dy] = distance(*after);
        if (dx * dx + dy * dy >= away) arrowsHelp = false;
    }
}

TEST(Keyboard, TheWholeGameIsPlayedWithTheKeysAlone) {
    TestGame game;
    game.platform.answerBoxesWithEnter();
    KeysUsed used;
    for (const Step& step : route::arrest + Path{pause(kArrestDelay), kAboutGame, kCreditsOk}) {
        if (step.scene.empty()) {
            game.wait(step.ms);
            continue;
        }
        SCOPED_TRACE(step.scene + " " + std::to_string(step.x) + ", " + std::to_string(step.y));
        markByKeys(game, step, used);
        if (::testing::Test::HasFatalFailure()) return;
        game.pressKey(Key::Enter);
        if (game.runtime->view().subtitleShown()) {  // enough of this line
            game.pressKey(Key::Space);
            ++used.spaces;
            EXPECT_FALSE(game.runtime->view().subtitleShown());
        }
    }
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->view().exitStatus(), 0);
    EXPECT_EQ(game.runtime->view().fatalMessage(), "");
    EXPECT_EQ(messagesOf(game), (std::vector<Message>{kDocuments, kNextDay}));
    EXPECT_GT(used.tabs, 10);
    EXPECT_GT(used.arrows, 10);
    EXPECT_GT(used.spaces, 5);
}

// Mouse players see nothing new: the mark comes with the first Tab, as a ring just around the
// hotspot, the same at every display scale, with the pointer and its cursor on the hotspot; the
// next move of the mouse takes it away.
TEST(Keyboard, TheMarkComesWithTheFirstKeyAndGoesWithTheMouse) {
    std::vector<std::vector<Colour>> rings;
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        TestGame game("ORVAL", {0, 0, 1280 * scale, 1024 * scale}, scale);
        for (const Step& step : route::home)  // the player's hand, in pixels of the screen
            step.scene.empty() ? game.wait(step.ms)
                               : game.click(step.scene, step.x * scale, step.y * scale);
        const SceneDescription& d = game.runtime->view().description("doma");
        const Rect telephone = visibleRect(d, d.find("Image4"));
        // Across the ring left of the telephone, from outside it to the hotspot's own edge.
        const auto across = [&] {
            std::vector<Colour> row;
            for (int x = telephone.x - 6; x <= telephone.x; ++x)
                row.push_back(game.pixel("doma", x, telephone.y + telephone.h / 2));
            return row;
        };
        const std::vector<Colour> plain = across();
        ASSERT_FALSE(game.runtime->view().focusMark());

        game.pressKey(Key::Tab);  // the exit "X" first
        game.pressKey(Key::Tab);
        const WindowPoint onTelephone{
            *game.runtime->view().windowOf("doma"),
            {telephone.x + telephone.w / 2, telephone.y + telephone.h / 2}};
        EXPECT_EQ(game.platform.pointer(), onTelephone);
        EXPECT_TRUE(game.platform.cursor().ends_with("use.png")) << game.platform.cursor();
        const std::vector<Colour> ringed = across();
        EXPECT_NE(ringed, plain);
        EXPECT_EQ(ringed.back(), plain.back()) << "the ring covers the hotspot";
        rings.push_back(ringed);

        // The pointer put on the mark reports its move back: no move of the player's.
        game.move("doma", onTelephone.point.x * scale, onTelephone.point.y * scale);
        EXPECT_EQ(across(), ringed);
        game.move("doma", (onTelephone.point.x + 30) * scale, onTelephone.point.y * scale);
        EXPECT_FALSE(game.runtime->view().focusMark());
        EXPECT_EQ(across(), plain);
    }
    EXPECT_EQ(rings[0], rings[1]);
}

// F1, or the key cap on the main menu, opens the card of the controls; while M has the sound
// off, a crossed speaker shows in the inventory's upper right corner.
TEST(Keyboard, TheCardOfTheControlsAndTheSignOfTheSoundOff) {
    TestGame game;
    game.pressKey(Key::F1);
    game.clickControl("ORVAL", "Picture7");
    ASSERT_EQ(game.platform.messages().size(), 2u);
    for (const HeadlessPlatform::Message& card : game.platform.messages())
        EXPECT_EQ(card.title, "Ovládání");
    EXPECT_EQ(game.windows(), std::vector<std::string>{"ORVAL"});

    play(game, route::home);
    const int w = game.runtime->view().description("Inventář").clientWidth;
    const auto corner = [&] { return game.pixel("Inventář", w - 6 - 7, 6 + 10); };
    const Colour sounding = corner();
    game.pressKey(Key::M);
    const Colour off = corner();
    EXPECT_GT(off.r, 200);
    EXPECT_LT(off.g, 100);
    game.pressKey(Key::M);
    EXPECT_EQ(corner(), sounding);
}

}  // namespace
}  // namespace orval::testing
