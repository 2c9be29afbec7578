// The game without a mouse: the focus mark that Tab and the arrow keys move, the pointer follows
// and Enter clicks; the card of the controls; the sign that the sound is off.
#include "scenes/model/hit_test.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The control a click at a pixel of the scene's window would reach now.
int controlAt(const TestGame& game, const std::string& scene, int x, int y) {
    return hitTest(game.runtime->description(scene), game.runtime->flags(scene), x, y);
}

// Whether the mark stands on what the step's click would reach.
bool marked(const TestGame& game, const Step& step) {
    const auto& mark = game.runtime->focusMark();
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
        const std::optional<FocusMark::Spot> before = game.runtime->focusMark();
        FocusStep key = FocusStep::Next;
        long away = 0;
        if (arrowsHelp && before) {
            const auto [dx, dy] = distance(*before);
            key = std::abs(dx) > std::abs(dy) ? (dx > 0 ? FocusStep::Right : FocusStep::Left)
                                              : (dy > 0 ? FocusStep::Down : FocusStep::Up);
            away = dx * dx + dy * dy;
        }
        game.pressKey(InputEvent::Type::Focus, key);
        const std::optional<FocusMark::Spot> after = game.runtime->focusMark();
        ASSERT_TRUE(after) << "a key took the mark away";
        const WindowPoint pointer{*game.runtime->windowOf(after->scene), after->point};
        EXPECT_EQ(game.platform.pointer(), pointer) << "the pointer does not follow the mark";
        if (key == FocusStep::Next) {
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
        game.pressKey(InputEvent::Type::KeyActivate);
        if (game.runtime->subtitleShown()) {  // enough of this line
            game.pressKey(' ');
            ++used.spaces;
            EXPECT_FALSE(game.runtime->subtitleShown());
        }
    }
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->exitStatus(), 0);
    EXPECT_EQ(game.runtime->fatalMessage(), "");
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
        const SceneDescription& d = game.runtime->description("doma");
        const Rect telephone = visibleRect(d, d.find("Image4"));
        // Across the ring left of the telephone, from outside it to the hotspot's own edge.
        const auto across = [&] {
            std::vector<Colour> row;
            for (int x = telephone.x - 6; x <= telephone.x; ++x)
                row.push_back(game.pixel("doma", x, telephone.y + telephone.h / 2));
            return row;
        };
        const std::vector<Colour> plain = across();
        ASSERT_FALSE(game.runtime->focusMark());

        game.pressKey(InputEvent::Type::Focus, FocusStep::Next);  // the exit "X" first
        game.pressKey(InputEvent::Type::Focus, FocusStep::Next);
        const WindowPoint onTelephone{
            *game.runtime->windowOf("doma"),
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
        EXPECT_FALSE(game.runtime->focusMark());
        EXPECT_EQ(across(), plain);
    }
    EXPECT_EQ(rings[0], rings[1]);
}

// F1, or the key cap on the main menu, opens the card of the controls; while M has the sound
// off, a crossed speaker shows in the inventory's upper right corner.
TEST(Keyboard, TheCardOfTheControlsAndTheSignOfTheSoundOff) {
    TestGame game;
    game.pressKey(InputEvent::Type::Help);
    game.clickControl("ORVAL", "Picture7");
    ASSERT_EQ(game.platform.messages().size(), 2u);
    for (const HeadlessPlatform::Message& card : game.platform.messages())
        EXPECT_EQ(card.title, "Ovládání");
    EXPECT_EQ(game.windows(), std::vector<std::string>{"ORVAL"});

    play(game, route::home);
    const int w = game.runtime->description("Inventář").clientWidth;
    const auto corner = [&] { return game.pixel("Inventář", w - 6 - 7, 6 + 10); };
    const Colour sounding = corner();
    game.pressKey('m');
    const Colour off = corner();
    EXPECT_GT(off.r, 200);
    EXPECT_LT(off.g, 100);
    game.pressKey('m');
    EXPECT_EQ(corner(), sounding);
}

}  // namespace
}  // namespace orval::testing
