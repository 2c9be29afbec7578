// The game on a screen that shows it k times as large: the scale the desktop's settings ask
// for, the windows k times as large at k times their place, every click reaching what it
// reaches at 1x, and pictures and letters drawn for the scale, not blown up.
#include "scenes/model/hit_test.h"
#include "shell/platform/display_scale.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The game's scene windows: the largest client size, and the inventory, the headquarters and
// the conversation at their fixed places.
constexpr Colour kSceneColour{0x5F, 0xB0, 0xED};

Rect times(const Rect& r, int k) { return {r.x * k, r.y * k, r.w * k, r.h * k}; }

const WindowPlan kGamePlan{
    823, 528, {{500, 12, 516, 111}, {512, 268, 137, 94}, {341, 280, 238, 134}}};

TEST(DisplayScale, TheScaleFollowsThePlayerTheDesktopAndTheScreensSize) {
    const std::optional<std::string> unset;
    const Rect uhd{0, 0, 3840, 2160}, wqxga{0, 0, 2560, 1600};
    struct Row {
        const char* what;
        std::optional<std::string> orvalScale, xftDpi, gdkScale;
        Rect screen;
        int scale;
        bool error = false;
    };
    const Row rows[] = {
        {"nothing set", unset, unset, unset, uhd, 1},
        {"ORVAL_SCALE", "2", unset, unset, uhd, 2},
        {"ORVAL_SCALE before Xft.dpi and GDK_SCALE", "1", "192", "2", uhd, 1},
        {"ORVAL_SCALE 3 where the inventory fits", "3", unset, unset, uhd, 3},
        {"ORVAL_SCALE 4: the inventory would end at 4064", "4", unset, unset, uhd, 3},
        {"ORVAL_SCALE empty counts as unset", "", "192", unset, uhd, 2},
        {"ORVAL_SCALE not a number", "big", "192", unset, uhd, 1, true},
        {"ORVAL_SCALE 0", "0", unset, unset, uhd, 1, true},
        {"ORVAL_SCALE 5", "5", unset, unset, uhd, 1, true},
        {"ORVAL_SCALE not whole", "2.0", unset, unset, uhd, 1, true},
        {"ORVAL_SCALE negative", "-2", unset, unset, uhd, 1, true},
        {"Xft.dpi 192", unset, "192", unset, uhd, 2},
        {"Xft.dpi 144 rounds up", unset, "144", unset, uhd, 2},
        {"Xft.dpi 120 rounds down", unset, "120", unset, uhd, 1},
        {"Xft.dpi 288", unset, "288", unset, uhd, 3},
        {"Xft.dpi 96 before GDK_SCALE", unset, "96", "2", uhd, 1},
        {"Xft.dpi unreadable: GDK_SCALE", unset, "high", "2", uhd, 2},
        {"GDK_SCALE", unset, unset, "2", uhd, 2},
        {"GDK_SCALE unreadable", unset, unset, "two", uhd, 1},
        {"2560 x 1600 at 3x: the inventory would end at 3048", "3", unset, unset, wqxga, 2},
        {"1920 x 1080 at 2x: the inventory would end at 2032",
         "2",
         unset,
         unset,
         {0, 0, 1920, 1080},
         1},
        {"too low for 2 x 528", unset, "192", unset, {0, 0, 2560, 1040}, 1},
        {"a panel above: the usable area still holds 2 x 528",
         "2",
         unset,
         unset,
         {0, 40, 2560, 1560},
         2},
        {"a panel below takes too much", "2", unset, unset, {0, 0, 2560, 1050}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ScaleChoice choice =
            chooseScale({row.orvalScale, row.xftDpi, row.gdkScale}, row.screen, kGamePlan);
        EXPECT_EQ(choice.scale, row.scale);
        EXPECT_EQ(!choice.error.empty(), row.error) << choice.error;
        if (row.error) {
            EXPECT_TRUE(mentions(choice.error, "ORVAL_SCALE"));
        }
    }
}

// Every window of the game twice as large at twice its place: its fixed one, or the middle.
TEST(DisplayScale, AtTwiceTheSizeEveryWindowIsTwiceAsLargeAtTwiceItsPlace) {
    const Rect screen{0, 0, 2560, 1600};
    for (const std::string& scene : sceneNames()) {
        SCOPED_TRACE(scene);
        const TestGame game(scene, screen, 2);
        const SceneDescription& d = game.runtime->description(scene);
        const Rect placed = game.windowRect(scene);
        EXPECT_EQ(placed.w, 2 * d.clientWidth);
        EXPECT_EQ(placed.h, 2 * d.clientHeight);
        if (d.placement == Placement::Manual) {
            EXPECT_EQ(placed.x, 2 * d.clientLeft);
            EXPECT_EQ(placed.y, 2 * d.clientTop);
        } else {
            EXPECT_EQ(placed.x, 2 * ((screen.w / 2 - d.clientWidth) / 2));
            EXPECT_EQ(placed.y, 2 * ((screen.h / 2 - d.clientHeight) / 2));
        }
    }
}

// A click at the doubled place of each hotspot of the shop does what the click at 1x does.
TEST(DisplayScale, AtTwiceTheSizeEveryHotspotOfTheShopAnswersAtItsDoubledPlace) {
    const TestGame shop("green");
    const SceneDescription& d = shop.runtime->description("green");
    int clicked = 0;
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        const ControlDescription& c = d.controls[i];
        if (!c.handlers.contains(EventKind::Click)) continue;
        SCOPED_TRACE(c.name);
        ++clicked;
        const Rect r = visibleRect(d, static_cast<int>(i));
        const int x = r.x + r.w / 2, y = r.y + r.h / 2;
        TestGame once("green");
        TestGame twice("green", {0, 0, 2560, 1600}, 2);
        const GameState before = stateOf(once);
        once.click("green", x, y);
        // The lower right of the four screen pixels of that logical pixel.
        twice.click("green", 2 * x + 1, 2 * y + 1);
        ASSERT_NE(stateOf(once), before) << "the click at 1x does nothing to compare";
        EXPECT_EQ(stateOf(twice), stateOf(once));
        EXPECT_EQ(twice.takeSounds(), once.takeSounds());
        EXPECT_EQ(messagesOf(twice), messagesOf(once));
    }
    EXPECT_GE(clicked, 9);
}

// Sharp at 2x: the window shows the picture drawn for 2x pixel for pixel, and its letters are
// drawn at twice their size, not as 1x letters with every pixel doubled.
TEST(DisplayScale, AtTwiceTheSizePicturesAndLettersAreDrawnForIt) {
    TestGame game("doma", {0, 0, 2560, 1600}, 2);
    const Canvas& window = game.platform.pixels(*game.runtime->windowOf("doma"));
    ASSERT_EQ(window.scale(), 2);
    const Canvas screenPixels(window.surface());
    const Canvas picture = canvasOf("pictures/2x/home.png");
    EXPECT_EQ(mismatches(screenPixels, {16, 80, picture.width(), picture.height()}, picture), 0);

    const SceneDescription& d = game.runtime->description("doma");
    const Rect x = visibleRect(d, d.find("Label1"));
    ASSERT_EQ(d.controls[static_cast<std::size_t>(d.find("Label1"))].caption, "X");
    int mixedSquares = 0;
    for (int row = x.y; row < x.y + x.h; ++row)
        for (int column = x.x; column < x.x + x.w; ++column) {
            const Colour first = screenPixels.pixel(2 * column, 2 * row);
            mixedSquares += screenPixels.pixel(2 * column + 1, 2 * row) != first ||
                            screenPixels.pixel(2 * column, 2 * row + 1) != first ||
                            screenPixels.pixel(2 * column + 1, 2 * row + 1) != first;
        }
    EXPECT_GT(mixedSquares, 10) << "the X looks like a 1x letter blown up";
    // And it covers four times the pixels it covers at 1x, give or take its edges.
    TestGame small("doma");
    const Canvas& small1x = small.platform.pixels(*small.runtime->windowOf("doma"));
    const int ink1x = x.w * x.h - countColour(small1x, x, kSceneColour);
    const int ink2x = 4 * x.w * x.h - countColour(screenPixels, times(x, 2), kSceneColour);
    EXPECT_GT(ink2x, 3 * ink1x);
    EXPECT_LT(ink2x, 5 * ink1x);
}

}  // namespace
}  // namespace orval::testing
