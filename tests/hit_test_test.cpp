// Which control the mouse finds: clipping to picture boxes, hotspots stacked on one rectangle,
// hidden boxes and points no control covers; first by hitTest on the real descriptions, then
// by clicks in the running game.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "scenes/model/hit_test.h"
#include "scenes/model/loader.h"
#include "tests/test_game.h"

namespace orval {
namespace {

namespace fs = std::filesystem;

const SceneDescription& realScene(const std::string& file) {
    static std::map<std::string, SceneDescription> cache;
    auto it = cache.find(file);
    if (it == cache.end()) {
        const fs::path data = testing::sourceDir() / "data";
        const HandlerCheck any = [](std::string_view, std::string_view) { return true; };
        it = cache.emplace(file, loadSceneDescription(data / "scenes" / file, data, any)).first;
    }
    return it->second;
}

// A flag that differs from the description for one row.
struct Change {
    const char* control;
    bool visible;
    bool enabled;
};

struct HitCase {
    const char* what;
    const char* file;
    std::vector<Change> changes;
    int x, y;
    const char* expected;  // control name, or "" when no control takes the point
};

// Window pixels. ORVAL: NOVÁ HRA boxes at (176, 56), O ORVAL KESK normal at (177, 112) and
// highlighted at (176, 112), KONEC at (176, 168), all 161 x 30; their hotspots are 33 high and
// Image2 starts one pixel left of its box. doma: Picture1 at (8, 40); Image4 and Image1 share
// (464, 184) 81 x 41. Inventář: the pistol slot Picture2 at (16, 40) 94 x 54 with Image1 97 x 57.
const HitCase kHits[] = {
    {"ORVAL Image2's first column is clipped: the highlighted copy takes it",
     "orval.toml",
     {},
     176,
     120,
     "Picture4"},
    {"ORVAL Image2 from the box's first column", "orval.toml", {}, 177, 120, "Image2"},
    {"ORVAL Image2 to its last column", "orval.toml", {}, 336, 120, "Image2"},
    {"ORVAL normal picture's last column is Picture3's own",
     "orval.toml",
     {},
     337,
     120,
     "Picture3"},
    {"ORVAL right of every entry", "orval.toml", {}, 338, 120, ""},
    {"ORVAL Image2 on the box's last row", "orval.toml", {}, 200, 141, "Image2"},
    {"ORVAL Image2 below its box is clipped", "orval.toml", {}, 200, 142, ""},
    {"ORVAL Image1 on its box's first row", "orval.toml", {}, 200, 56, "Image1"},
    {"ORVAL Image1 on its box's last row", "orval.toml", {}, 200, 85, "Image1"},
    {"ORVAL Image1 row 31 is background", "orval.toml", {}, 200, 86, ""},
    {"ORVAL Image1 row 32 is background", "orval.toml", {}, 200, 87, ""},
    {"ORVAL Image1 row 33 is background", "orval.toml", {}, 200, 88, ""},
    {"ORVAL Image3 on its box's last row", "orval.toml", {}, 200, 197, "Image3"},
    {"ORVAL Image3 below its box", "orval.toml", {}, 200, 199, ""},
    {"ORVAL left of the entries", "orval.toml", {}, 175, 60, ""},
    {"ORVAL the agent", "orval.toml", {}, 80, 120, ""},
    {"ORVAL upper-left corner", "orval.toml", {}, 0, 0, ""},
    {"ORVAL lower-right corner", "orval.toml", {}, 358, 226, ""},
    {"ORVAL outside the window right", "orval.toml", {}, 359, 60, ""},
    {"ORVAL outside the window left", "orval.toml", {}, -1, 60, ""},
    {"ORVAL outside the window below", "orval.toml", {}, 200, 227, ""},
    {"ORVAL NOVÁ HRA hidden: the highlighted copy",
     "orval.toml",
     {{"Picture1", false, true}},
     200,
     60,
     "Picture2"},
    {"ORVAL O ORVAL KESK hidden: the copy",
     "orval.toml",
     {{"Picture3", false, true}},
     200,
     120,
     "Picture4"},
    {"ORVAL O ORVAL KESK hidden: its last column is nobody's",
     "orval.toml",
     {{"Picture3", false, true}},
     337,
     120,
     ""},
    {"ORVAL Image2 disabled: its box",
     "orval.toml",
     {{"Image2", true, false}},
     200,
     120,
     "Picture3"},
    {"ORVAL Image2 hidden: its box", "orval.toml", {{"Image2", false, true}}, 200, 120, "Picture3"},

    {"doma upper hotspot enabled", "doma.toml", {}, 470, 190, "Image4"},
    {"doma both enabled: the upper one", "doma.toml", {{"Image1", true, true}}, 470, 190, "Image4"},
    {"doma upper disabled, lower enabled",
     "doma.toml",
     {{"Image4", true, false}, {"Image1", true, true}},
     470,
     190,
     "Image1"},
    {"doma both disabled: the picture box",
     "doma.toml",
     {{"Image4", true, false}},
     470,
     190,
     "Picture1"},
    {"doma the hotspot's last pixel", "doma.toml", {}, 544, 224, "Image4"},
    {"doma just past the hotspot", "doma.toml", {}, 545, 224, "Picture1"},
    {"doma the strip right of the picture box", "doma.toml", {}, 818, 300, ""},
    {"doma the X label", "doma.toml", {}, 812, 5, "Label1"},
    {"doma a timer is never hit", "doma.toml", {}, 56, 8, ""},

    {"Inventář empty slot", "inventar.toml", {}, 20, 50, ""},
    {"Inventář hidden box hides an enabled hotspot",
     "inventar.toml",
     {{"Image1", true, true}},
     20,
     50,
     ""},
    {"Inventář owned item, not usable: the box",
     "inventar.toml",
     {{"Picture2", true, true}},
     20,
     50,
     "Picture2"},
    {"Inventář owned and usable: the hotspot",
     "inventar.toml",
     {{"Picture2", true, true}, {"Image1", true, true}},
     20,
     50,
     "Image1"},
    {"Inventář hotspot clipped below its box",
     "inventar.toml",
     {{"Picture2", true, true}, {"Image1", true, true}},
     20,
     95,
     ""},
    {"Inventář hotspot clipped right of its box",
     "inventar.toml",
     {{"Picture2", true, true}, {"Image1", true, true}},
     111,
     50,
     ""},
    {"Inventář the frame takes no clicks", "inventar.toml", {}, 8, 32, ""},
    {"Inventář the title label", "inventar.toml", {}, 200, 5, "Inventář"},
    {"Inventář cassette slot owned and usable",
     "inventar.toml",
     {{"Picture6", true, true}, {"Image5", true, true}},
     410,
     60,
     "Image5"},

    {"Rozmluva hidden question under a disabled hotspot", "rozmluva.toml", {}, 20, 80, ""},
    {"Rozmluva shown question, hotspot disabled: the label",
     "rozmluva.toml",
     {{"Label3", true, true}},
     20,
     80,
     "Label3"},
    {"Rozmluva question open",
     "rozmluva.toml",
     {{"Label3", true, true}, {"Image3", true, true}},
     20,
     80,
     "Image3"},
};

TEST(HitTest, TheFrontMostVisibleEnabledControlTakesThePoint) {
    for (const HitCase& row : kHits) {
        SCOPED_TRACE(row.what);
        const SceneDescription& scene = realScene(row.file);
        SceneFlags flags = initialFlags(scene);
        for (const Change& change : row.changes) {
            const int index = scene.find(change.control);
            ASSERT_GE(index, 0) << change.control;
            flags[static_cast<std::size_t>(index)] = {change.visible, change.enabled};
        }
        const int hit = hitTest(scene, flags, row.x, row.y);
        const std::string found =
            hit == kNoControl ? "" : scene.controls[static_cast<std::size_t>(hit)].name;
        EXPECT_EQ(found, row.expected) << "at " << row.x << ", " << row.y;
    }
}

TEST(HitTest, VisibleAreasAreClippedToTheirBoxes) {
    const SceneDescription& orval = realScene("orval.toml");
    EXPECT_EQ(absoluteRect(orval, orval.find("Image2")), (Rect{176, 112, 161, 33}));
    EXPECT_EQ(visibleRect(orval, orval.find("Image2")), (Rect{177, 112, 160, 30}));
    EXPECT_EQ(visibleRect(orval, orval.find("Image1")), (Rect{176, 56, 161, 30}));
    const SceneDescription& doma = realScene("doma.toml");
    EXPECT_EQ(absoluteRect(doma, doma.find("Image4")), (Rect{464, 184, 81, 41}));
}

// The same rules seen by a player: clicks in the running game.

TEST(HitTestByClicks, MainMenuEdges) {
    struct Row {
        const char* what;
        int x, y;
        bool opensCredits;
    };
    const Row rows[] = {
        {"the highlighted copy's uncovered first column", 176, 120, true},
        {"Image2", 250, 120, true},
        {"the normal picture's last column", 337, 120, true},
        {"right of the entry", 338, 120, false},
        {"below NOVÁ HRA, inside Image1's rectangle", 250, 87, false},
        {"below O ORVAL KESK, inside Image2's rectangle", 250, 143, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testing::TestGame game;
        game.click("ORVAL", row.x, row.y);
        EXPECT_EQ(game.loaded("about"), row.opensCredits);
        EXPECT_TRUE(game.loaded("ORVAL"));
        EXPECT_FALSE(game.ended());
    }
}

TEST(HitTestByClicks, StackedHotspotsAtHome) {
    testing::TestGame game("doma");
    game.wait(200);
    game.takeSounds();

    // The telephone answers while Image4 is enabled.
    game.clickAt("doma", "Image4", 10, 10);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/hlasatelka.wav"});
    EXPECT_FALSE(game.enabled("doma", "Image4"));

    // Both disabled: the click reaches the picture box, which does nothing.
    game.clickAt("doma", "Image4", 10, 10);
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_EQ(game.windows(), std::vector<std::string>{"doma"});

    // The bank clerk sends the agent to the directory; the directory enables the lower
    // hotspot, which now takes the telephone's clicks.
    game.runtime->show("Banka");
    game.clickAt("Banka", "Image3", 10, 10);
    game.clickAt("doma", "Image2", 5, 5);
    EXPECT_EQ(game.takeSounds(),
              (std::vector<std::string>{"zvuky/no money.wav", "zvuky/seznam.wav"}));
    game.clickAt("doma", "Image4", 10, 10);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/tunelbanka.wav"});
    EXPECT_FALSE(game.enabled("doma", "Image1"));
}

TEST(HitTestByClicks, HiddenInventorySlotsTakeNoClicks) {
    testing::TestGame game("Inventář");
    // The pistol's slot: nothing owned yet, even an enabled hotspot inside does not answer.
    game.runtime->setEnabled("Inventář", "Image1", true);
    game.clickAt("Inventář", "Picture2", 20, 20);
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_FALSE(game.enabled("Inventář", "Timer1"));

    // Owned: the hotspot answers; disabled again, the box itself does.
    game.runtime->setVisible("Inventář", "Picture2", true);
    game.clickAt("Inventář", "Picture2", 20, 20);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/zatčení.wav"});
    game.runtime->setEnabled("Inventář", "Image1", false);
    game.clickAt("Inventář", "Picture2", 20, 20);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/nefunguje.wav"});

    // Below the box, inside the hotspot's described rectangle: nothing.
    game.runtime->setEnabled("Inventář", "Image1", true);
    game.clickAt("Inventář", "Picture2", 20, 55);
    EXPECT_TRUE(game.takeSounds().empty());
}

}  // namespace
}  // namespace orval
