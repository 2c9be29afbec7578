// The main menu as the player uses it: entries light up under the pointer and go dark over the
// background; NOVÁ HRA, O ORVAL KESK and KONEC do what they say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_game.h"

namespace orval {
namespace {

using testing::TestGame;
using Names = std::vector<std::string>;

constexpr Colour kNormal{0x75, 0xC5, 0xF0};  // the ground of an entry's normal picture
constexpr Colour kLit{0x00, 0x93, 0xDD};     // the ground of its highlighted copy

struct Entry {
    const char* what;
    const char* normal;    // the front picture a move hides
    int x, y;              // a point on the entry
    int groundX, groundY;  // a pixel of the entry's ground, away from the lettering
};

const Entry kEntries[] = {
    {"NOVÁ HRA", "Picture1", 250, 70, 178, 58},
    {"O ORVAL KESK", "Picture3", 250, 126, 179, 114},
    {"KONEC", "Picture5", 250, 182, 178, 170},
};

// A press and release without a move first (as a tablet or a very fast hand gives it).
void pressAndRelease(TestGame& game, int x, int y) {
    const WindowId window = game.runtime->loaded("ORVAL")->window;
    game.platform.queue({InputEvent::Type::MouseDown, window, x, y});
    game.platform.queue({InputEvent::Type::MouseUp, window, x, y});
    game.runtime->runFor(0);
}

TEST(MainMenu, StartsWithEveryEntryNormal) {
    TestGame game;
    for (const Entry& entry : kEntries) {
        SCOPED_TRACE(entry.what);
        EXPECT_TRUE(game.visible("ORVAL", entry.normal));
        EXPECT_EQ(game.pixel("ORVAL", entry.groundX, entry.groundY), kNormal);
    }
}

TEST(MainMenu, AnEntryLightsUpUnderThePointerAndGoesDarkOverTheBackground) {
    for (const Entry& entry : kEntries) {
        SCOPED_TRACE(entry.what);
        TestGame game;
        game.move("ORVAL", entry.x, entry.y);
        EXPECT_FALSE(game.visible("ORVAL", entry.normal));
        EXPECT_EQ(game.pixel("ORVAL", entry.groundX, entry.groundY), kLit);
        for (const Entry& other : kEntries) {
            if (&other == &entry) continue;
            EXPECT_TRUE(game.visible("ORVAL", other.normal)) << other.what;
            EXPECT_EQ(game.pixel("ORVAL", other.groundX, other.groundY), kNormal) << other.what;
        }

        // Further moves over the lit entry keep it lit.
        game.move("ORVAL", entry.x + 40, entry.y + 5);
        EXPECT_FALSE(game.visible("ORVAL", entry.normal));

        // The gap between the entries is background.
        game.move("ORVAL", 250, 100);
        EXPECT_TRUE(game.visible("ORVAL", entry.normal));
        EXPECT_EQ(game.pixel("ORVAL", entry.groundX, entry.groundY), kNormal);
        EXPECT_EQ(game.windows(), Names{"ORVAL"});
    }
}

TEST(MainMenu, MovingFromOneEntryToTheNextCrossesTheBackground) {
    TestGame game;
    game.move("ORVAL", 250, 70);
    game.move("ORVAL", 250, 100);
    game.move("ORVAL", 250, 126);
    EXPECT_TRUE(game.visible("ORVAL", "Picture1"));
    EXPECT_FALSE(game.visible("ORVAL", "Picture3"));
    EXPECT_EQ(game.pixel("ORVAL", 178, 58), kNormal);
    EXPECT_EQ(game.pixel("ORVAL", 179, 114), kLit);
}

TEST(MainMenu, NovaHraShowsTheStoryAndClosesTheMenu) {
    TestGame game;
    game.click("ORVAL", 250, 70);
    EXPECT_EQ(game.windows(), Names{"Příběh"});
    EXPECT_FALSE(game.loaded("ORVAL"));
    EXPECT_FALSE(game.ended());
}

TEST(MainMenu, OOrvalKeskOpensTheCreditsOverTheMenuByEachOfItsControls) {
    struct Way {
        const char* what;
        bool moveFirst;
        int x, y;
    };
    const Way ways[] = {
        {"the highlighted copy (Picture4) after a move", true, 250, 126},
        {"the hotspot (Image2) without a move", false, 250, 126},
        {"the normal picture's uncovered column (Picture3)", false, 337, 126},
        {"the copy's uncovered column (Picture4) without a move", false, 176, 126},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        TestGame game;
        if (way.moveFirst)
            game.click("ORVAL", way.x, way.y);
        else
            pressAndRelease(game, way.x, way.y);
        EXPECT_EQ(game.windows(), (Names{"about", "ORVAL"}));
        EXPECT_TRUE(game.loaded("ORVAL"));
        EXPECT_FALSE(game.ended());
    }
}

TEST(MainMenu, KonecEndsTheProgram) {
    TestGame game;
    game.click("ORVAL", 250, 182);
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->exitStatus(), 0);
    EXPECT_TRUE(game.windows().empty());
}

TEST(MainMenu, AClickWithoutAMoveReachesTheHotspots) {
    struct Row {
        const char* what;
        int x, y;
        Names windows;
    };
    const Row rows[] = {
        {"NOVÁ HRA's hotspot has no click", 250, 70, {"ORVAL"}},
        {"O ORVAL KESK's hotspot opens the credits", 250, 126, {"about", "ORVAL"}},
        {"KONEC's hotspot has no click", 250, 182, {"ORVAL"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TestGame game;
        pressAndRelease(game, row.x, row.y);
        EXPECT_EQ(game.windows(), row.windows);
        EXPECT_FALSE(game.ended());
        EXPECT_FALSE(game.loaded("Příběh"));
        // No move came, so nothing lit up.
        for (const Entry& entry : kEntries) EXPECT_TRUE(game.visible("ORVAL", entry.normal));
    }
}

TEST(MainMenu, OpeningTheCreditsTwiceGivesOneWindow) {
    TestGame game;
    game.click("ORVAL", 250, 126);
    const WindowId credits = game.runtime->loaded("about")->window;
    game.click("ORVAL", 250, 126);
    EXPECT_EQ(game.windows(), (Names{"about", "ORVAL"}));
    EXPECT_EQ(game.runtime->loaded("about")->window, credits);

    // Closed with OK, the menu is there again, and the credits open once more.
    game.clickControl("about", "Image1");
    EXPECT_EQ(game.windows(), Names{"ORVAL"});
    game.click("ORVAL", 250, 126);
    EXPECT_EQ(game.windows(), (Names{"about", "ORVAL"}));
}

}  // namespace
}  // namespace orval
