// The game on a screen that shows it k times as large: the scale the desktop's settings ask
// for, the windows k times as large at k times their place, every click reaching what it
// reaches at 1x, and pictures and letters drawn for the scale, not blown up.
#include <cstdlib>
#include <map>

#include "scenes/model/hit_test.h"
#include "shell/platform/display_scale.h"
#include "shell/window_placement.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The game's scene windows: the largest client size, and the inventory, the headquarters and
// the conversation at their fixed places; all together 823 x 652.
constexpr Colour kSceneColour{0x5F, 0xB0, 0xED};

Rect times(const Rect& r, int k) { return {r.x * k, r.y * k, r.w * k, r.h * k}; }

const WindowPlan kGamePlan{
    823, 528, {{500, 12, 516, 111}, {512, 268, 137, 94}, {341, 280, 238, 134}}, "ORVAL KESK"};

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
        {"ORVAL_SCALE 3 where the windows fit together", "3", unset, unset, uhd, 3},
        {"ORVAL_SCALE 4: together 2608 high", "4", unset, unset, uhd, 3},
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
        {"2560 x 1600 at 3x: together 1956 high", "3", unset, unset, wqxga, 2},
        {"1920 x 1080 at 2x: together 1304 high", "2", unset, unset, {0, 0, 1920, 1080}, 1},
        {"too low for 2 x 652", unset, "192", unset, {0, 0, 2560, 1040}, 1},
        {"a tall narrow screen holds them together at 2x",
         "2",
         unset,
         unset,
         {0, 0, 1800, 2400},
         2},
        {"a panel above: the usable area still holds 2 x 652",
         "2",
         unset,
         unset,
         {0, 40, 2560, 1560},
         2},
        {"a panel below takes too much", "2", unset, unset, {0, 0, 2560, 1050}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // As the game settles it: the session asks, the platform fits the windows.
        const ScaleChoice choice = requestedScale({row.orvalScale, row.xftDpi, row.gdkScale});
        EXPECT_EQ(fittingScale(choice.scale, row.screen, kGamePlan), row.scale);
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
        const SceneDescription& d = game.runtime->view().description(scene);
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

// On any screen, at any scale, every window keeps its place beside the others as on the 1280 x
// 800 screen the game was laid out on (k times as far at scale k), in the middle of the screen
// where the windows lie on it so, else moved just enough onto it.
TEST(DisplayScale, OnEveryScreenEveryWindowKeepsItsPlaceBesideTheOthers) {
    const auto placesOf = [](const Rect& screen, int scale) {
        TestGame game("doma", screen, scale);
        std::map<std::string, Rect> places;
        for (const std::string& scene : sceneNames()) {
            game.runtime->show(scene);
            places[scene] = game.windowRect(scene);
        }
        EXPECT_EQ(game.platform.scale(), scale);
        return places;
    };
    const std::map<std::string, Rect> laidOut = placesOf({0, 0, 1280, 800}, 1);
    ASSERT_EQ(laidOut.at("Inventář"), (Rect{500, 12, 516, 111}));
    ASSERT_EQ(laidOut.at("Rozmluva"), (Rect{341, 280, 238, 134}));
    struct Row {
        const char* what;
        Rect screen;
        int scale;
        bool centred;  // the home in the middle of the screen
    };
    const Row rows[] = {
        {"5120 x 1440: the conversation over the shop", {0, 0, 5120, 1440}, 1, true},
        {"1080 x 1920: the inventory just above the home", {0, 0, 1080, 1920}, 1, true},
        {"1280 x 1024", {0, 0, 1280, 1024}, 1, true},
        {"a panel at the left", {64, 0, 1856, 1080}, 1, true},
        {"1024 x 768 under a panel: moved down onto it", {0, 28, 1024, 740}, 1, false},
        {"3840 x 2160 at 2x", {0, 0, 3840, 2160}, 2, true},
        {"2160 x 3840 at 2x", {0, 0, 2160, 3840}, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::map<std::string, Rect> places = placesOf(row.screen, row.scale);
        const Rect home = places.at("doma"), laidOutHome = laidOut.at("doma");
        for (const auto& [scene, r] : places) {
            SCOPED_TRACE(scene);
            const Rect was = laidOut.at(scene);
            EXPECT_EQ(r.x - home.x, row.scale * (was.x - laidOutHome.x));
            EXPECT_EQ(r.y - home.y, row.scale * (was.y - laidOutHome.y));
            EXPECT_EQ(intersect(r, row.screen), r) << "off the screen";
        }
        const int offCentreX = 2 * home.x + home.w - (2 * row.screen.x + row.screen.w);
        const int offCentreY = 2 * home.y + home.h - (2 * row.screen.y + row.screen.h);
        if (row.centred) {
            EXPECT_LE(std::abs(offCentreX), 2 * row.scale);
            EXPECT_LE(std::abs(offCentreY), 2 * row.scale);
        }
    }
}

// Where a window lies, from its description alone: a fixed place from the arrangement's corner,
// the rest centred in it, then moved just enough onto the usable screen.
TEST(DisplayScale, AWindowIsPlacedInTheArrangementAndOnTheScreen) {
    SceneDescription fixed, centred;
    fixed.placement = Placement::Manual;
    fixed.clientLeft = 500, fixed.clientTop = 12, fixed.clientWidth = 516, fixed.clientHeight = 111;
    centred.clientWidth = 804, centred.clientHeight = 528;
    struct Row {
        const char* what;
        const SceneDescription& scene;
        Rect arrangement, usable, placed;
    };
    const Row rows[] = {
        {"fixed", fixed, {100, 50, 1280, 800}, {0, 0, 1480, 900}, {600, 62, 516, 111}},
        {"centred", centred, {100, 50, 1280, 800}, {0, 0, 1480, 900}, {338, 186, 804, 528}},
        {"pushed onto a narrow screen",
         fixed,
         {0, 0, 1280, 800},
         {0, 0, 800, 600},
         {284, 12, 516, 111}},
        {"larger than the screen: its corner",
         centred,
         {0, 0, 1280, 800},
         {10, 20, 640, 480},
         {10, 20, 804, 528}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(placeWindow(row.scene, row.arrangement, row.usable), row.placed) << row.what;
}

// A click at the doubled place of each hotspot of the shop does what the click at 1x does.
TEST(DisplayScale, AtTwiceTheSizeEveryHotspotOfTheShopAnswersAtItsDoubledPlace) {
    const TestGame shop("green");
    const SceneDescription& d = shop.runtime->view().description("green");
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
    const Canvas& window = game.platform.pixels(*game.runtime->view().windowOf("doma"));
    ASSERT_EQ(window.scale(), 2);
    const Canvas screenPixels(window.surface());
    const Canvas picture = canvasOf("pictures/2x/home.png");
    EXPECT_EQ(mismatches(screenPixels, {16, 80, picture.width(), picture.height()}, picture), 0);

    const SceneDescription& d = game.runtime->view().description("doma");
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
    const Canvas& small1x = small.platform.pixels(*small.runtime->view().windowOf("doma"));
    const int ink1x = x.w * x.h - countColour(small1x, x, kSceneColour);
    const int ink2x = 4 * x.w * x.h - countColour(screenPixels, times(x, 2), kSceneColour);
    EXPECT_GT(ink2x, 3 * ink1x);
    EXPECT_LT(ink2x, 5 * ink1x);
}

}  // namespace
}  // namespace orval::testing
