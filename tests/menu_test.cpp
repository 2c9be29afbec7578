// The main menu as the player uses it: entries light up under the pointer (or the arrow keys' mark)
// and go dark over the background; NOVÁ HRA, O ORVAL KESK and KONEC do what they say.
#include "tests/test_support.h"

namespace orval::testing {
namespace {

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

void expectLit(TestGame& game, const Entry* lit) {
    for (const Entry& entry : kEntries) {
        SCOPED_TRACE(entry.what);
        EXPECT_EQ(game.visible("ORVAL", entry.normal), &entry != lit);
        EXPECT_EQ(game.pixel("ORVAL", entry.groundX, entry.groundY),
                  &entry == lit ? kLit : kNormal);
    }
}

TEST(MainMenu, AnEntryLightsUpUnderThePointerAndGoesDarkOverTheBackground) {
    for (const Entry& entry : kEntries) {
        SCOPED_TRACE(entry.what);
        TestGame game;
        expectLit(game, nullptr);
        game.move("ORVAL", entry.x, entry.y);
        expectLit(game, &entry);
        game.move("ORVAL", entry.x + 40, entry.y + 5);  // further moves keep it lit
        expectLit(game, &entry);
        game.move("ORVAL", 250, 100);  // the gap between the entries is background
        expectLit(game, nullptr);
        // The first arrow marks the entry under the pointer, the next takes the mark and the
        // light on together (below KONEC, off the entries): never two entries lit.
        game.move("ORVAL", entry.x, entry.y);
        game.pressKey(Key::Down);
        expectLit(game, &entry);
        game.pressKey(Key::Down);
        expectLit(game, &entry + 1 == std::end(kEntries) ? nullptr : &entry + 1);
        EXPECT_EQ(game.windows(), Names{"ORVAL"});
    }
}

TEST(MainMenu, EachEntryDoesWhatItSaysByAClickAndOnlyItsPictureWithoutAMove) {
    struct Row {
        const char* what;
        bool move;
        int x, y;
        Names windows;  // none: the program ended
    };
    const Row rows[] = {
        {"NOVÁ HRA", true, 250, 70, {"Příběh"}},
        {"NOVÁ HRA's hotspot without a move has no click", false, 250, 70, {"ORVAL"}},
        {"KONEC", true, 250, 182, {}},
        {"KONEC's hotspot without a move has no click", false, 250, 182, {"ORVAL"}},
        {"O ORVAL KESK: the highlighted copy (Picture4)", true, 250, 126, {"about", "ORVAL"}},
        {"O ORVAL KESK: its hotspot (Image2) without a move", false, 250, 126, {"about", "ORVAL"}},
        {"O ORVAL KESK: the normal picture's uncovered last column (Picture3)",
         false,
         337,
         126,
         {"about", "ORVAL"}},
        {"O ORVAL KESK: the same column after a move", true, 337, 120, {"about", "ORVAL"}},
        {"O ORVAL KESK: the copy's uncovered first column (Picture4)",
         false,
         176,
         126,
         {"about", "ORVAL"}},
        {"O ORVAL KESK: the same column after a move", true, 176, 120, {"about", "ORVAL"}},
        {"right of O ORVAL KESK", true, 338, 120, {"ORVAL"}},
        {"below NOVÁ HRA, inside Image1's rectangle", true, 250, 87, {"ORVAL"}},
        {"below O ORVAL KESK, inside Image2's rectangle", true, 250, 143, {"ORVAL"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TestGame game;
        if (row.move)
            game.click("ORVAL", row.x, row.y);
        else
            game.press("ORVAL", row.x, row.y);
        EXPECT_EQ(game.windows(), row.windows);
        EXPECT_EQ(game.ended(), row.windows.empty());
        EXPECT_EQ(game.runtime->view().exitStatus(), 0);
        EXPECT_EQ(game.runtime->view().askedToEnd(), row.windows.empty());  // KONEC: left
        if (!row.move) expectLit(game, nullptr);  // no move came, so nothing lit up
    }
}

TEST(MainMenu, TheCreditsOpenOnceAndClosedWithOkShowTheMenuAgain) {
    TestGame game;
    game.click("ORVAL", 250, 126);
    const WindowId credits = *game.runtime->view().windowOf("about");
    game.click("ORVAL", 250, 126);
    EXPECT_EQ(game.windows(), (Names{"about", "ORVAL"}));
    EXPECT_EQ(*game.runtime->view().windowOf("about"), credits);
    game.click("about", kCreditsOk.x, kCreditsOk.y);
    EXPECT_EQ(game.windows(), Names{"ORVAL"});
    game.click("ORVAL", 250, 126);
    EXPECT_EQ(game.windows(), (Names{"about", "ORVAL"}));
}

}  // namespace
}  // namespace orval::testing

namespace orval::testing {
namespace {

constexpr Colour kMarkLit{0xA9, 0xD5, 0xF5};           // the chosen language's mark
constexpr Colour kMarkDark{0x00, 0x7C, 0xC3};          // the others, in the panel's colour
constexpr Point kCzech{301, 205}, kEnglish{323, 205};  // inside each mark, off its letters

// A click on a mark speaks its language at once: the menu is drawn again in it (its entries'
// English pictures, the other mark lit) and no flag of the game changes; Tab reaches the marks
// after the key cap F1, and Enter on one chooses it as a click does.
TEST(MainMenu, TheMarksOfTheLanguagesSwitchItAtOnceAndChangeNoFlag) {
    TestGame game;
    EXPECT_EQ(game.runtime->view().languages(), (Names{"cs", "en"}));
    EXPECT_EQ(game.pixel("ORVAL", kCzech.x, kCzech.y), kMarkLit);
    EXPECT_EQ(game.pixel("ORVAL", kEnglish.x, kEnglish.y), kMarkDark);
    const Colour czechEntry = game.pixel("ORVAL", 206, 71);  // the N of NOVÁ HRA
    const Flags before = flagsOf(game);
    game.click("ORVAL", kEnglish.x + 8, kEnglish.y + 4);
    EXPECT_EQ(game.runtime->view().language(), "en");
    EXPECT_EQ(game.pixel("ORVAL", kCzech.x, kCzech.y), kMarkDark);
    EXPECT_EQ(game.pixel("ORVAL", kEnglish.x, kEnglish.y), kMarkLit);
    EXPECT_NE(game.pixel("ORVAL", 206, 71), czechEntry);
    EXPECT_EQ(flagsOf(game), before);
    EXPECT_EQ(game.windows(), Names{"ORVAL"});

    game.click("ORVAL", kCzech.x + 8, kCzech.y + 4);
    EXPECT_EQ(game.runtime->view().language(), "cs");
    EXPECT_EQ(game.pixel("ORVAL", 206, 71), czechEntry);
    EXPECT_EQ(flagsOf(game), before);

    TestGame keys;
    for (int tab = 0; tab < 6; ++tab) keys.pressKey(Key::Tab);
    ASSERT_TRUE(keys.runtime->view().focusMark());
    EXPECT_GT(keys.runtime->view().focusMark()->point.x, kEnglish.x - 3)
        << "the sixth Tab marks EN, after the entries, F1 and CZ";
    keys.pressEnter("ORVAL");
    EXPECT_EQ(keys.runtime->view().language(), "en");
}

}  // namespace
}  // namespace orval::testing
