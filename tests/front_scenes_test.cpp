// The front scenes as a player meets them: the briefing, the headquarters, the inventory, the
// credits and the final screen.
#include <algorithm>

#include "shell/platform/font_files.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

TEST(Briefing, EnterPressesTheButtonThatOpensTheHomeAndTheInventoryAtItsPlace) {
    TestGame game("Příběh", {0, 0, 1280, 800});  // the screen the game was laid out on
    game.pressEnter("Příběh");
    EXPECT_EQ(game.windows(), (std::vector<std::string>{"Inventář", "doma"}));
    EXPECT_FALSE(game.loaded("Příběh"));
    EXPECT_EQ(game.windowRect("Inventář"), (Rect{500, 12, 516, 111}));
    expectRows({{"the briefing's text does nothing", Path{kNewGame, at("Příběh", 200, 150)}}});
}

TEST(Briefing, TellsFourParagraphsInOrderAndAllOfThemFit) {
    const std::vector<std::string> paragraphs = {
        "V kdysi poklidném světě barev se dějí zvláštní věci, většina barev už s námi (my jsme "
        "modří) přerušila všechny kontakty.",
        "Podle posledních informací jsou ostatní barvy vydírány, aby s námi přerušily kontakty. "
        "Naší super-policii Orval KESK se také podařilo zjistit, že v tom má asi prsty Mr. Black, "
        "ten je jediným zástupcem černé barvy. Říká se, že Mr. Black všechny ostatní osoby "
        "černého světa zabil, aby ho mohl ovládnout. A teď se snaží ovládnout celý svět barev, "
        "protože věří, že černá barva je dominantní a měla by vládnout všem barvám.",
        "A ty jako člen naší super-policie Orval KESK mu to MUSÍŠ PŘEKAZIT.",
        "Hodně štěstí ",
    };
    TestGame game("Příběh");
    const SceneDescription& d = game.runtime->view().description("Příběh");
    const ControlDescription& label = d.controls.at(static_cast<std::size_t>(d.find("Label1")));
    std::string text;
    for (const std::string& paragraph : paragraphs) text += (text.empty() ? "" : "\n") + paragraph;
    EXPECT_EQ(label.caption, text);

    // Laid out in the label, every line lies inside it; the last one, "Hodně štěstí", is drawn
    // in navy.
    Fonts fonts(systemFontFiles);
    const auto lines = layoutText(label.caption, label.rect.w,
                                  [&](std::string_view s) { return fonts.measure(label.font, s); });
    const int lineHeight = fonts.lineHeight(label.font);
    EXPECT_LE(static_cast<int>(lines.size()) * lineHeight, label.rect.h) << lines.size();
    const Rect last{label.rect.x, label.rect.y + static_cast<int>(lines.size() - 1) * lineHeight,
                    label.rect.w, lineHeight};
    EXPECT_GT(countColour(game.runtime->render("Příběh"), last, Colour{0, 0, 128}), 10);
}

TEST(Headquarters, AreFreshAtEveryVisitAndOpenAtTheirPlace) {
    TestGame game("Mapa", {0, 0, 1280, 800});
    std::vector<WindowId> windows;
    for (const Step& choice : {kToWarehouse, kToBrown, kToWarehouse, kToBrown}) {
        SCOPED_TRACE(windows.size());
        play(game, kMapHeadquarters);
        ASSERT_TRUE(game.loaded("velitelství"));
        EXPECT_EQ(game.windowRect("velitelství"), (Rect{512, 268, 137, 94}));
        EXPECT_EQ(game.windows().front(), "velitelství");
        windows.push_back(*game.runtime->view().windowOf("velitelství"));
        play(game, choice);
        EXPECT_FALSE(game.loaded("velitelství"));
        // Mr. Brown's own progress, as his handlers set it at the first visit, must survive.
        if (windows.size() == 2) game.runtime->setEnabled("Brown", "Image5", true);
    }
    std::sort(windows.begin(), windows.end());
    EXPECT_EQ(std::unique(windows.begin(), windows.end()), windows.end()) << "a window reused";
    EXPECT_TRUE(game.enabled("Brown", "Image5"));
    EXPECT_EQ(game.windows(), (std::vector<std::string>{"Brown", "Sklad", "Mapa"}));
}

TEST(Inventory, WithNothingOwnedNoClickDoesAnything) {
    TestGame game;
    play(game, route::home);
    const GameState before = stateOf(game);
    for (int y = 0; y < 111; y += 5)
        for (int x = 0; x < 516; x += 5) game.click("Inventář", x, y);
    EXPECT_EQ(stateOf(game), before);
}

TEST(Inventory, ThePeanutsWereTheyEverUsableWouldSilenceMrBlack) {
    TestGame game("black");
    game.wait(20);
    game.runtime->setVisible("Inventář", "Picture5", true);
    game.runtime->setEnabled("Inventář", "Image4", true);  // no scene does this
    game.takeSounds();
    play(game, kPeanuts);
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_FALSE(game.enabled("black", "Image2"));
    EXPECT_TRUE(game.visible("Inventář", "Picture5"));
    play(game, kMrBlack);  // the greeting is gone: Mr. Black beneath it gives the pistol
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_TRUE(game.enabled("Inventář", "Image1"));
}

TEST(Credits, TheAddressAndTheLogoOpenTheHostTheAddressNames) {
    TestGame game;
    play(game, kMenuCredits);
    const SceneDescription& d = game.runtime->view().description("about");
    const std::string url =
        "https://" + d.controls.at(static_cast<std::size_t>(d.find("Label1"))).caption;
    EXPECT_EQ(url, "https://orval-kesk.example.org");
    game.click("about", 508, 460);  // the address
    game.click("about", 500, 500);  // the logo
    EXPECT_EQ(game.platform.urls(), (std::vector<std::string>{url, url}));
    EXPECT_EQ(game.windows(), (std::vector<std::string>{"about", "ORVAL"}));
    const GameState before = stateOf(game);
    game.click("about", 100, 100);  // the picture outside them and OK
    EXPECT_EQ(stateOf(game), before);
}

TEST(FinalScreen, ThePictureOutsideItsButtonsDoesNothing) {
    TestGame game("win");
    const GameState before = stateOf(game);
    game.click("win", 290, 300);
    EXPECT_EQ(stateOf(game), before);
}

TEST(FinalScreen, ClosesTheTwelveScenesInItsOrder) {
    RecordingPlatform platform;
    Runtime runtime(platform, sourceDir(), gameHandlers(), gameDescriptions());
    // Every scene of play open, shown in an order unlike the closing one.
    std::map<WindowId, std::string> sceneOf;
    for (auto it = kPlayScenes.rbegin(); it != kPlayScenes.rend(); ++it) {
        runtime.show(*it);
        sceneOf[*runtime.view().windowOf(*it)] = *it;
    }
    runtime.runFor(0);
    platform.closed.clear();
    runtime.setEnabled("Inventář", "Timer1", true);  // as the pistol's use does
    runtime.runFor(kArrestDelay);
    runtime.runFor(0);  // and whatever falls due at that very millisecond
    ASSERT_TRUE(runtime.view().isLoaded("win"));
    std::vector<std::string> closed;
    for (const WindowId id : platform.closed) closed.push_back(sceneOf.at(id));
    EXPECT_EQ(closed, kPlayScenes);
}

}  // namespace
}  // namespace orval::testing
