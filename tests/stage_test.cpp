// The stage as a player meets it: which of the game's windows a pixel of the one stage window
// reaches, what a click raises, what lies in front, at display scales 1 and 2 and scaled down.
#include <functional>

#include "shell/platform/stage.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// Three windows as the game opens them: the home, the map over part of it, and later a box.
constexpr WindowId kHome = 1, kMap = 2, kBox = 3, kWords = 4;
constexpr Rect kHomePlace{229, 173, 822, 454};
constexpr Rect kMapPlace{413, 177, 453, 446};
constexpr Rect kBoxPlace{500, 350, 280, 100};

Stage homeAndMap(int scale, int windowWidth, int windowHeight) {
    Stage stage(scale);
    stage.resize(windowWidth, windowHeight);
    stage.open(kHome, WindowKind::Scene, kHomePlace);
    stage.raise(kHome);
    stage.open(kMap, WindowKind::Scene, kMapPlace);
    stage.raise(kMap);
    return stage;
}

TEST(Stage, APixelOfTheStageReachesTheWindowInFrontThereAndAClickRaisesIt) {
    struct Row {
        const char* what;
        int scale, windowWidth, windowHeight;
        std::function<void(Stage&)> before;
        int x, y;  // the pointer's press, in pixels of the stage window
        std::optional<WindowId> reached;
        int localX, localY;
        std::vector<WindowId> frontAfter;
    };
    const auto nothing = [](Stage&) {};
    const std::vector<Row> rows = {
        {"the map lies over the home",
         1,
         1280,
         800,
         nothing,
         600,
         400,
         kMap,
         187,
         223,
         {kMap, kHome}},
        {"a click on an uncovered part of the home raises it",
         1,
         1280,
         800,
         nothing,
         300,
         400,
         kHome,
         71,
         227,
         {kHome, kMap}},
        {"the background reaches nothing and raises nothing",
         1,
         1280,
         800,
         nothing,
         100,
         100,
         std::nullopt,
         0,
         0,
         {kMap, kHome}},
        {"at scale 2 every window pixel of a logical pixel reaches it",
         2,
         2560,
         1600,
         nothing,
         2 * 300 + 1,
         2 * 400 + 1,
         kHome,
         71,
         227,
         {kHome, kMap}},
        {"in a larger window the stage lies centred",
         1,
         1480,
         900,
         nothing,
         100 + 300,
         50 + 400,
         kHome,
         71,
         227,
         {kHome, kMap}},
        {"scaled down to fit 1024 x 768, a pixel is found by proportion",
         1,
         1024,
         768,
         nothing,
         240,
         64 + 320,
         kHome,
         71,
         227,
         {kHome, kMap}},
        {"the box covers its scene and stays in front when the scene is raised",
         1,
         1280,
         800,
         [](Stage& s) {
             s.open(kBox, WindowKind::MessageBox, kBoxPlace);
             s.raise(kBox);
             s.raise(kHome);
         },
         600,
         400,
         kBox,
         100,
         50,
         {kBox, kHome, kMap}},
        {"a click on the subtitles reaches them but raises no scene",
         1,
         1280,
         800,
         [](Stage& s) {
             s.open(kWords, WindowKind::Subtitles, {229, 627, 822, 50});
             s.raise(kWords);
         },
         300,
         640,
         kWords,
         71,
         13,
         {kWords, kMap, kHome}},
        {"Ctrl+Tab brings the window furthest back to the front",
         1,
         1280,
         800,
         [](Stage& s) { s.cycle(); },
         600,
         400,
         kHome,
         371,
         227,
         {kHome, kMap}},
        {"a thumbnail in the strip brings its window forward",
         1,
         1280,
         800,
         [](Stage& s) {
             const Rect home = s.thumbnails().at(0).place;
             s.pointerPressed(home.x + 5, home.y + 5);
             s.pointerReleased(home.x + 5, home.y + 5);
         },
         600,
         400,
         kHome,
         371,
         227,
         {kHome, kMap}},
        {"on a phone the window in front is shown alone, as tall as the phone",
         1,
         844,
         390,
         [](Stage& s) { s.showFrontAlone(true); },
         230,
         10,
         kMap,
         6,
         11,
         {kMap, kHome}},
        {"on a phone a box over the home comes with the home, shown alone",
         1,
         844,
         390,
         [](Stage& s) {
             s.open(kBox, WindowKind::MessageBox, kBoxPlace);
             s.raise(kBox);
             s.raise(kHome);
             s.showFrontAlone(true);
         },
         100,
         300,
         kHome,
         36,
         349,
         {kBox, kHome, kMap}},
        {"on a phone the handle of a window outside the one alone brings it forward",
         1,
         844,
         390,
         [](Stage& s) { s.showFrontAlone(true); },
         10,
         10,
         std::nullopt,
         0,
         0,
         {kHome, kMap}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Stage stage = homeAndMap(row.scale, row.windowWidth, row.windowHeight);
        row.before(stage);
        const Stage::Pointed pointed = stage.pointerPressed(row.x, row.y);
        stage.pointerReleased(row.x, row.y);
        ASSERT_EQ(pointed.hit.has_value(), row.reached.has_value());
        if (row.reached) {
            EXPECT_EQ(pointed.hit->window, *row.reached);
            EXPECT_EQ(pointed.hit->point, (Point{row.localX, row.localY}));
        }
        EXPECT_EQ(stage.stack().frontToBack(), row.frontAfter);
    }
}

// A drag that ends over another window still belongs to the window it began in, as on a
// desktop: a press on the map and a release over the home is no click on the home.
TEST(Stage, WhileTheButtonIsHeldThePointerBelongsToTheWindowPressed) {
    Stage stage = homeAndMap(1, 1280, 800);
    ASSERT_EQ(stage.pointerPressed(600, 400).hit->window, kMap);
    const Stage::Pointed moved = stage.pointerMoved(300, 400);
    ASSERT_TRUE(moved.hit);
    EXPECT_EQ(moved.hit->window, kMap);
    EXPECT_EQ(moved.hit->point.x, 300 - kMapPlace.x);
    EXPECT_EQ(stage.pointerReleased(300, 400).hit->window, kMap);
    EXPECT_EQ(stage.pointerMoved(300, 400).hit->window, kHome);
}

// Only what changed is composed again: a raise, a change of one window's pixels, a close.
TEST(Stage, OnlyTheAreasThatChangedAreComposedAgain) {
    Stage stage = homeAndMap(1, 1280, 800);
    stage.takeDirty();
    stage.changed(kMap);
    const std::vector<Rect> map = stage.takeDirty();
    ASSERT_FALSE(map.empty());
    // The map's own area, and its thumbnail in the strip below.
    EXPECT_EQ(map.front(), kMapPlace);
    for (const Rect& r : map) EXPECT_TRUE(r == kMapPlace || r.y >= Stage::kHeight - 60) << r.y;
    EXPECT_TRUE(stage.takeDirty().empty());
    stage.raise(kHome);  // where the home lies, not where it lay in the stack
    const std::vector<Rect> raised = stage.takeDirty();
    EXPECT_NE(std::find(raised.begin(), raised.end(), kHomePlace), raised.end());
    stage.open(kBox, WindowKind::MessageBox, kBoxPlace);
    EXPECT_TRUE(stage.takeDirty().empty());  // a hidden window changes nothing
    stage.close(kMap);
    const std::vector<Rect> closed = stage.takeDirty();
    EXPECT_NE(std::find(closed.begin(), closed.end(), kMapPlace), closed.end());
}

}  // namespace
}  // namespace orval::testing
