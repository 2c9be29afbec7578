// Which control the mouse finds on the real descriptions: clipping to picture boxes, hotspots
// stacked on one rectangle, hidden boxes and points no control covers. (The places' tables and
// the main menu's test click the same edges in the running game.)
#include "scenes/model/hit_test.h"
#include "scenes/model/focus.h"
#include "scenes/model/loader.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

const SceneDescription& realScene(const std::string& file) {
    static std::map<std::string, SceneDescription> cache;
    auto it = cache.find(file);
    if (it == cache.end()) {
        const fs::path data = sourceDir() / "data";
        const HandlerCheck any = [](std::string_view, std::string_view) { return true; };
        it = cache.emplace(file, loadSceneDescription(data / "scenes" / file, data, any)).first;
    }
    return it->second;
}

struct HitCase {
    const char* what;
    const char* file;
    // Flags unlike the description's: "control:ve" with v for visible and e for enabled when on.
    const char* changes;
    int x, y;
    const char* expected;  // control name, or "" when no control takes the point
};

// Window pixels. ORVAL: NOVÁ HRA boxes at (176, 56), O ORVAL KESK normal at (177, 112) and
// highlighted at (176, 112), KONEC at (176, 168), all 161 x 30; their hotspots are 33 high and
// Image2 starts one pixel left of its box. doma: Picture1 at (8, 40); Image4 and Image1 share
// (464, 184) 81 x 41. Inventář: the pistol slot Picture2 at (16, 40) 94 x 54 with Image1 97 x 57.
// Rozmluva: line 1's label reaches further right than its hotspot.
const HitCase kHits[] = {
    {"Image2's first column is clipped: the highlighted copy takes it", "orval.toml", "", 176, 120,
     "Picture4"},
    {"Image2 from the box's first column", "orval.toml", "", 177, 120, "Image2"},
    {"Image2 to its last column", "orval.toml", "", 336, 120, "Image2"},
    {"the normal picture's last column is Picture3's own", "orval.toml", "", 337, 120, "Picture3"},
    {"right of every entry", "orval.toml", "", 338, 120, ""},
    {"Image2 on the box's last row", "orval.toml", "", 200, 141, "Image2"},
    {"Image2 below its box is clipped", "orval.toml", "", 200, 142, ""},
    {"Image1 on its box's first row", "orval.toml", "", 200, 56, "Image1"},
    {"Image1 on its box's last row", "orval.toml", "", 200, 85, "Image1"},
    {"Image1 row 31 is background", "orval.toml", "", 200, 86, ""},
    {"Image1 row 32 is background", "orval.toml", "", 200, 87, ""},
    {"Image1 row 33 is background", "orval.toml", "", 200, 88, ""},
    {"Image3 on its box's last row", "orval.toml", "", 200, 197, "Image3"},
    {"Image3 below its box", "orval.toml", "", 200, 199, ""},
    {"left of the entries", "orval.toml", "", 175, 60, ""},
    {"the agent", "orval.toml", "", 80, 120, ""},
    {"upper-left corner", "orval.toml", "", 0, 0, ""},
    {"lower-right corner", "orval.toml", "", 358, 226, ""},
    {"outside the window right", "orval.toml", "", 359, 60, ""},
    {"outside the window left", "orval.toml", "", -1, 60, ""},
    {"outside the window below", "orval.toml", "", 200, 227, ""},
    {"NOVÁ HRA hidden: the highlighted copy", "orval.toml", "Picture1:e", 200, 60, "Picture2"},
    {"O ORVAL KESK hidden: the copy", "orval.toml", "Picture3:e", 200, 120, "Picture4"},
    {"O ORVAL KESK hidden: its last column is nobody's", "orval.toml", "Picture3:e", 337, 120, ""},
    {"Image2 disabled: its box", "orval.toml", "Image2:v", 200, 120, "Picture3"},
    {"Image2 hidden: its box", "orval.toml", "Image2:e", 200, 120, "Picture3"},

    {"the upper of two hotspots", "doma.toml", "", 470, 190, "Image4"},
    {"both enabled: the upper one", "doma.toml", "Image1:ve", 470, 190, "Image4"},
    {"upper disabled, lower enabled", "doma.toml", "Image4:v Image1:ve", 470, 190, "Image1"},
    {"both disabled: the picture box", "doma.toml", "Image4:v", 470, 190, "Picture1"},
    {"the hotspot's last pixel", "doma.toml", "", 544, 224, "Image4"},
    {"just past the hotspot", "doma.toml", "", 545, 224, "Picture1"},
    {"the strip right of the picture box", "doma.toml", "", 818, 300, ""},
    {"the X label", "doma.toml", "", 812, 5, "Label1"},
    {"a timer is never hit", "doma.toml", "", 56, 8, ""},

    {"an empty slot", "inventar.toml", "", 20, 50, ""},
    {"a hidden box hides an enabled hotspot", "inventar.toml", "Image1:ve", 20, 50, ""},
    {"an owned item, not usable: the box", "inventar.toml", "Picture2:ve", 20, 50, "Picture2"},
    {"owned and usable: the hotspot", "inventar.toml", "Picture2:ve Image1:ve", 20, 50, "Image1"},
    {"the hotspot clipped below its box", "inventar.toml", "Picture2:ve Image1:ve", 20, 95, ""},
    {"the hotspot clipped right of its box", "inventar.toml", "Picture2:ve Image1:ve", 111, 50, ""},
    {"the frame takes no clicks", "inventar.toml", "", 8, 32, ""},
    {"the title label", "inventar.toml", "", 200, 5, "Inventář"},
    {"the cassette slot owned and usable", "inventar.toml", "Picture6:ve Image5:ve", 410, 60,
     "Image5"},

    {"the hidden question under a disabled hotspot", "rozmluva.toml", "", 20, 80, ""},
    {"the question shown, its hotspot disabled: the label", "rozmluva.toml", "Label3:ve", 20, 80,
     "Label3"},
    {"the question open", "rozmluva.toml", "Label3:ve Image3:ve", 20, 80, "Image3"},
    {"line 1's last hotspot pixel", "rozmluva.toml", "", 232, 16, "Image1"},
    {"line 1 beyond its hotspot: the label", "rozmluva.toml", "", 235, 16, "Label1"},
};

// The scene's flags as the description gives them, with the changes of a table row.
SceneFlags flagsWith(const SceneDescription& scene, const char* changed) {
    SceneFlags flags = initialFlags(scene);
    std::istringstream changes(changed);
    for (std::string change; changes >> change;) {
        const std::size_t colon = change.find(':');
        const int index = scene.find(change.substr(0, colon));
        EXPECT_GE(index, 0) << change;
        if (index < 0) continue;
        const std::string on = change.substr(colon + 1);
        flags[static_cast<std::size_t>(index)] = {on.find('v') != std::string::npos,
                                                  on.find('e') != std::string::npos};
    }
    return flags;
}

TEST(HitTest, TheFrontMostVisibleEnabledControlTakesThePoint) {
    for (const HitCase& row : kHits) {
        SCOPED_TRACE(std::string(row.file) + ": " + row.what);
        const SceneDescription& scene = realScene(row.file);
        const SceneFlags flags = flagsWith(scene, row.changes);
        const int hit = hitTest(scene, flags, row.x, row.y);
        const std::string found =
            hit == kNoControl ? "" : scene.controls[static_cast<std::size_t>(hit)].name;
        EXPECT_EQ(found, row.expected) << "at " << row.x << ", " << row.y;
    }
}

// The focus mark's way through a scene: Tab in reading order, an arrow key to the nearest
// hotspot that way. `from` is empty for the order, else the row names the hotspot the arrow
// starts on and `expected` the one it reaches ("" for none).
struct FocusCase {
    const char* what;
    const char* file;
    const char* changes;
    const char* from;
    Direction direction;
    const char* expected;  // the order, names apart by spaces; or the hotspot reached
};

const FocusCase kFocus[] = {
    {"the menu: entries top down, the key cap, then where the marks of the languages stand",
     "orval.toml",
     "",
     "",
     {},
     "Image1 Image2 Image3 Picture7 Language"},
    {"the menu with NOVÁ HRA lit: its copy in its place",
     "orval.toml",
     "Picture1:e",
     "",
     {},
     "Picture2 Image2 Image3 Picture7 Language"},
    {"home: the exit, the door, the directory, the television",
     "doma.toml",
     "Image4:v Image3:ve Image2:ve",
     "",
     {},
     "Label1 Image3 Image2 Image5"},
    {"owned items in their slots: the usable one's hotspot, the other's box",
     "inventar.toml",
     "Picture2:ve Picture3:ve Image2:ve",
     "",
     {},
     "Picture2 Image2"},
    {"the map: headquarters and bank, home, shop, villa",
     "mapa.toml",
     "Image3:ve Image4:ve Image5:ve",
     "",
     {},
     "Image1 Image4 Image2 Image3 Image5"},
    {"the story: its button", "pribeh.toml", "", "", {}, "Command1"},
    {"the conversation's lines top down",
     "rozmluva.toml",
     "Label3:ve Image3:ve",
     "",
     {},
     "Image1 Image2 Image3 Label4"},
    {"home: right of the door", "doma.toml", "Image4:v Image3:ve Image2:ve", "Image3",
     Direction::Right, "Image2"},
    {"home: right of the directory", "doma.toml", "Image4:v Image3:ve Image2:ve", "Image2",
     Direction::Right, "Image5"},
    {"home: above the television", "doma.toml", "Image4:v Image3:ve Image2:ve", "Image5",
     Direction::Up, "Label1"},
    {"home: nothing left of the door", "doma.toml", "Image4:v Image3:ve Image2:ve", "Image3",
     Direction::Left, ""},
    {"map: below the headquarters", "mapa.toml", "Image3:ve Image4:ve Image5:ve", "Image1",
     Direction::Down, "Image3"},
    {"map: right of the headquarters, the bank", "mapa.toml", "Image3:ve Image4:ve Image5:ve",
     "Image1", Direction::Right, "Image4"},
    {"map: nothing left of home", "mapa.toml", "Image3:ve Image4:ve Image5:ve", "Image2",
     Direction::Left, ""},
    {"conversation: the line below the first", "rozmluva.toml", "", "Image1", Direction::Down,
     "Image2"},
    {"conversation: nothing above the first line", "rozmluva.toml", "", "Image1", Direction::Up,
     ""},
};

TEST(Focus, TabFollowsReadingOrderAndArrowsFindTheNearestHotspotThatWay) {
    for (const FocusCase& row : kFocus) {
        SCOPED_TRACE(std::string(row.file) + ": " + row.what);
        const SceneDescription& scene = realScene(row.file);
        const SceneFlags flags = flagsWith(scene, row.changes);
        const std::vector<FocusTarget> targets = focusTargets(scene, flags);
        std::string found;
        if (*row.from == 0) {
            for (const FocusTarget& t : targets)
                found += (found.empty() ? "" : " ") +
                         scene.controls[static_cast<std::size_t>(t.control)].name;
        } else {
            std::vector<Point> points;
            std::optional<Point> from;
            for (const FocusTarget& t : targets) {
                points.push_back(t.point);
                if (scene.controls[static_cast<std::size_t>(t.control)].name == row.from)
                    from = t.point;
            }
            ASSERT_TRUE(from) << row.from << " is no hotspot here";
            if (const auto nearest = nearestInDirection(points, *from, row.direction))
                found = scene.controls[static_cast<std::size_t>(targets[*nearest].control)].name;
        }
        EXPECT_EQ(found, row.expected);
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

}  // namespace
}  // namespace orval::testing
