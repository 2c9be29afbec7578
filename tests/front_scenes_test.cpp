// The front scenes as a player meets them: the briefing, the headquarters, the town map, the
// credits and the final screen, each driven by clicks on window pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "scenes/model/hit_test.h"
#include "shell/scene_files.h"
#include "tests/test_game.h"

namespace orval {
namespace {

using testing::TestGame;

// Everything a click could change: which scenes are loaded, every flag of each of them, the
// open windows, and what the player heard, read or had opened in the browser.
struct GameState {
    std::vector<std::string> windows;
    std::map<std::string, std::vector<std::pair<bool, bool>>> flags;
    std::size_t sounds = 0, messages = 0, urls = 0;
    bool ended = false;
    friend bool operator==(const GameState&, const GameState&) = default;
};

GameState stateOf(const TestGame& game) {
    GameState state;
    state.ended = game.ended();
    state.windows = game.windows();
    for (const std::string& scene : sceneNames()) {
        if (!game.loaded(scene)) continue;
        auto& flags = state.flags[scene];
        for (const ControlDescription& c : game.runtime->description(scene).controls)
            flags.emplace_back(game.visible(scene, c.name), game.enabled(scene, c.name));
    }
    state.sounds = game.platform.sounds().size();
    state.messages = game.platform.messages().size();
    state.urls = game.platform.urls().size();
    return state;
}

// One thing the player does: a click at a pixel of a scene's window, or Enter in it.
struct Step {
    std::string scene;
    int x = 0, y = 0;
    bool enter = false;
};

Step enterIn(std::string scene) {
    return {std::move(scene), 0, 0, true};
}

// Window pixels of the places the rows below click.
constexpr int kStartButtonX = 244, kStartButtonY = 344;  // Příběh "Začít hru"
const Step kMapHeadquarters{"Mapa", 248, 112};
const Step kMapHome{"Mapa", 136, 200};
const Step kMapShop{"Mapa", 280, 256};
const Step kMapBank{"Mapa", 352, 128};
const Step kMapVilla{"Mapa", 376, 352};
const Step kMenuCredits{"ORVAL", 257, 127};  // the menu's "O ORVAL KESK" entry
const Step kCreditsOk{"about", 296, 504};
const Step kWinAbout{"win", 168, 504};  // "O hře"
const Step kWinEnd{"win", 412, 504};    // "Konec"

constexpr const char* kMakerUrl = "https://orval-kesk.example.org";

struct GraphCase {
    const char* name = "";
    const char* start = "";  // the scene the game shows first
    // Hotspots that other scenes' handlers would have enabled beforehand.
    std::vector<std::pair<std::string, std::string>> enabledBefore = {};
    std::vector<Step> steps = {};
    std::vector<std::string> windows = {};  // open windows afterwards, front first
    std::vector<std::string> loaded = {};
    std::vector<std::string> notLoaded = {};
    std::vector<std::string> urls = {};
    bool ends = false;             // the program has ended (with status 0)
    bool lastDoesNothing = false;  // the last step leaves the whole game as it was
};

const std::vector<GraphCase>& graphCases() {
    static const std::vector<GraphCase> cases = {
        {.name = "briefing button clicked",
         .start = "Příběh",
         .steps = {{"Příběh", kStartButtonX, kStartButtonY}},
         .windows = {"Inventář", "doma"},
         .loaded = {"doma", "Inventář"},
         .notLoaded = {"Příběh", "ORVAL", "Mapa"}},
        {.name = "briefing button pressed by Enter",
         .start = "Příběh",
         .steps = {enterIn("Příběh")},
         .windows = {"Inventář", "doma"},
         .loaded = {"doma", "Inventář"},
         .notLoaded = {"Příběh", "ORVAL", "Mapa"}},
        {.name = "briefing text clicked",
         .start = "Příběh",
         .steps = {{"Příběh", 200, 150}},
         .windows = {"Příběh"},
         .loaded = {"Příběh"},
         .notLoaded = {"doma", "Inventář"},
         .lastDoesNothing = true},
        {.name = "headquarters to Mr. Brown",
         .start = "Mapa",
         .steps = {kMapHeadquarters, {"velitelství", 60, 48}},
         .windows = {"Brown", "Mapa"},
         .loaded = {"Brown", "Mapa"},
         .notLoaded = {"velitelství", "Sklad"}},
        {.name = "headquarters to the warehouse",
         .start = "Mapa",
         .steps = {kMapHeadquarters, {"velitelství", 60, 72}},
         .windows = {"Sklad", "Mapa"},
         .loaded = {"Sklad", "Mapa"},
         .notLoaded = {"velitelství", "Brown"}},
        {.name = "headquarters title",
         .start = "Mapa",
         .steps = {kMapHeadquarters, {"velitelství", 72, 20}},
         .windows = {"velitelství", "Mapa"},
         .loaded = {"velitelství", "Mapa"},
         .notLoaded = {"Brown", "Sklad"},
         .lastDoesNothing = true},
        {.name = "headquarters background",
         .start = "Mapa",
         .steps = {kMapHeadquarters, {"velitelství", 130, 88}},
         .windows = {"velitelství", "Mapa"},
         .loaded = {"velitelství", "Mapa"},
         .notLoaded = {"Brown", "Sklad"},
         .lastDoesNothing = true},
        {.name = "headquarters shown twice",
         .start = "Mapa",
         .steps = {kMapHeadquarters, kMapHeadquarters},
         .windows = {"velitelství", "Mapa"},
         .loaded = {"velitelství", "Mapa"},
         .notLoaded = {"Brown", "Sklad"}},
        {.name = "map: home",
         .start = "Mapa",
         .steps = {kMapHome},
         .windows = {"doma", "Mapa"},
         .loaded = {"doma", "Mapa"}},
        {.name = "map: headquarters",
         .start = "Mapa",
         .steps = {kMapHeadquarters},
         .windows = {"velitelství", "Mapa"},
         .loaded = {"velitelství", "Mapa"}},
        {.name = "map: shop still closed",
         .start = "Mapa",
         .steps = {kMapShop},
         .windows = {"Mapa"},
         .loaded = {"Mapa"},
         .notLoaded = {"green"},
         .lastDoesNothing = true},
        {.name = "map: bank still closed",
         .start = "Mapa",
         .steps = {kMapBank},
         .windows = {"Mapa"},
         .loaded = {"Mapa"},
         .notLoaded = {"Banka"},
         .lastDoesNothing = true},
        {.name = "map: villa still closed",
         .start = "Mapa",
         .steps = {kMapVilla},
         .windows = {"Mapa"},
         .loaded = {"Mapa"},
         .notLoaded = {"Vila"},
         .lastDoesNothing = true},
        // Mr. Brown's documents, the question in the conversation and the bank clerk open
        // these places.
        {.name = "map: shop opened",
         .start = "Mapa",
         .enabledBefore = {{"Mapa", "Image3"}},
         .steps = {kMapShop},
         .windows = {"green", "Mapa"},
         .loaded = {"green", "Mapa"}},
        {.name = "map: bank opened",
         .start = "Mapa",
         .enabledBefore = {{"Mapa", "Image4"}},
         .steps = {kMapBank},
         .windows = {"Banka", "Mapa"},
         .loaded = {"Banka", "Mapa"}},
        {.name = "map: villa opened",
         .start = "Mapa",
         .enabledBefore = {{"Mapa", "Image5"}},
         .steps = {kMapVilla},
         .windows = {"Vila", "Mapa"},
         .loaded = {"Vila", "Mapa"}},
        {.name = "map: title",
         .start = "Mapa",
         .enabledBefore = {{"Mapa", "Image3"}, {"Mapa", "Image4"}, {"Mapa", "Image5"}},
         .steps = {{"Mapa", 228, 20}},
         .windows = {"Mapa"},
         .loaded = {"Mapa"},
         .lastDoesNothing = true},
        {.name = "map: river outside every place",
         .start = "Mapa",
         .enabledBefore = {{"Mapa", "Image3"}, {"Mapa", "Image4"}, {"Mapa", "Image5"}},
         .steps = {{"Mapa", 28, 420}},
         .windows = {"Mapa"},
         .loaded = {"Mapa"},
         .notLoaded = {"green", "Banka", "Vila", "doma", "velitelství"},
         .lastDoesNothing = true},
        {.name = "map: window margin",
         .start = "Mapa",
         .steps = {{"Mapa", 3, 300}},
         .windows = {"Mapa"},
         .loaded = {"Mapa"},
         .lastDoesNothing = true},
        {.name = "credits closed over the menu",
         .start = "ORVAL",
         .steps = {kMenuCredits, kCreditsOk},
         .windows = {"ORVAL"},
         .loaded = {"ORVAL"},
         .notLoaded = {"about"}},
        {.name = "credits: maker's logo",
         .start = "ORVAL",
         .steps = {kMenuCredits, {"about", 500, 500}},
         .windows = {"about", "ORVAL"},
         .loaded = {"about", "ORVAL"},
         .urls = {kMakerUrl}},
        {.name = "credits: maker's address",
         .start = "ORVAL",
         .steps = {kMenuCredits, {"about", 508, 460}},
         .windows = {"about", "ORVAL"},
         .loaded = {"about", "ORVAL"},
         .urls = {kMakerUrl}},
        {.name = "credits: picture outside OK, logo and address",
         .start = "ORVAL",
         .steps = {kMenuCredits, {"about", 100, 100}},
         .windows = {"about", "ORVAL"},
         .loaded = {"about", "ORVAL"},
         .lastDoesNothing = true},
        {.name = "final screen: O hře",
         .start = "win",
         .steps = {kWinAbout},
         .windows = {"about"},
         .loaded = {"about"},
         .notLoaded = {"win"}},
        {.name = "final screen: O hře, then OK",
         .start = "win",
         .steps = {kWinAbout, kCreditsOk},
         .ends = true},
        {.name = "final screen: Konec", .start = "win", .steps = {kWinEnd}, .ends = true},
        {.name = "final screen: picture outside O hře and Konec",
         .start = "win",
         .steps = {{"win", 290, 300}},
         .windows = {"win"},
         .loaded = {"win"},
         .notLoaded = {"about"},
         .lastDoesNothing = true},
    };
    return cases;
}

TEST(FrontSceneGraph, EachClickShowsUnloadsOrEndsAsThePlayerExpects) {
    for (const GraphCase& c : graphCases()) {
        SCOPED_TRACE(c.name);
        TestGame game(c.start);
        for (const auto& [scene, control] : c.enabledBefore)
            game.runtime->setEnabled(scene, control, true);
        GameState before;
        for (const Step& step : c.steps) {
            ASSERT_FALSE(game.ended()) << "ended before a click in " << step.scene;
            before = stateOf(game);
            if (step.enter) {
                game.pressEnter(step.scene);
            } else {
                game.click(step.scene, step.x, step.y);
            }
        }
        EXPECT_EQ(game.windows(), c.windows);
        for (const std::string& scene : c.loaded) EXPECT_TRUE(game.loaded(scene)) << scene;
        for (const std::string& scene : c.notLoaded) EXPECT_FALSE(game.loaded(scene)) << scene;
        EXPECT_EQ(game.platform.urls(), c.urls);
        EXPECT_EQ(game.ended(), c.ends);
        if (c.ends) {
            EXPECT_EQ(game.runtime->exitStatus(), 0);
            EXPECT_EQ(game.runtime->fatalMessage(), "");
            for (const std::string& scene : sceneNames()) EXPECT_FALSE(game.loaded(scene)) << scene;
        }
        if (c.lastDoesNothing) {
            EXPECT_EQ(stateOf(game), before);
        }
    }
}

TEST(Briefing, StartButtonOpensTheInventoryAtItsPlaceInFrontOfTheHome) {
    TestGame game("Příběh");
    game.click("Příběh", kStartButtonX, kStartButtonY);
    ASSERT_TRUE(game.loaded("Inventář"));
    EXPECT_EQ(game.windowRect("Inventář"), (Rect{500, 12, 516, 111}));
    EXPECT_EQ(game.windows().front(), "Inventář");
}

TEST(Briefing, TellsFourParagraphsInOrderEndingWithGoodLuck) {
    const std::vector<std::string> paragraphs = {
        "V kdysi poklidném světě barev se dějí zvláštní věci, většina barev už s námi (my jsem "
        "modří) přerušila všechny kontakty.",
        "Podle posledních informací jsou ostatní barvy vydírány, aby s námi přerušily kontakty. "
        "Naší super-policii Orval KESK se také podařilo zjistit, že v tom má asi prsty Mr. Black, "
        "ten je jediným zástupcem černé barvy. Říká se, že Mr. Black všechny ostatní osoby "
        "černého světa zabil, aby ho mohl ovládnou. A teď se snaží ovládnout celý svět barev, "
        "protože věří, že černá barva je dominantní a měla by vládnou všem barvám.",
        "A ty jako člen naší super-policie Orval KESK mu to MUSÍŠ PŘEKAZIT.",
        "Hodně štěstí ",
    };
    TestGame game("Příběh");
    const SceneDescription& d = game.runtime->description("Příběh");
    const ControlDescription& label = d.controls.at(static_cast<std::size_t>(d.find("Label1")));

    // As laid out in the label's width, each paragraph starts a line of its own, in order,
    // and the last one still lies inside the label.
    Fonts fonts;
    const auto measure = [&](std::string_view text) { return fonts.measure(label.font, text); };
    const std::vector<std::string> lines = layoutText(label.caption, label.rect.w, measure);
    std::string joined;
    std::vector<std::size_t> starts;
    for (const std::string& paragraph : paragraphs) {
        const std::string opening = paragraph.substr(0, 12);
        const auto from = lines.begin() + static_cast<long>(starts.empty() ? 0 : starts.back() + 1);
        const auto it = std::find_if(from, lines.end(), [&](const std::string& line) {
            return line.rfind(opening, 0) == 0;
        });
        ASSERT_NE(it, lines.end()) << "no line starts with " << opening;
        starts.push_back(static_cast<std::size_t>(it - lines.begin()));
    }
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : lines.size();
        std::string text;
        for (std::size_t l = starts[i]; l < end; ++l) text += (text.empty() ? "" : " ") + lines[l];
        auto collapse = [](std::string s) {
            s.erase(std::unique(s.begin(), s.end(),
                                [](char a, char b) { return a == ' ' && b == ' '; }),
                    s.end());
            while (!s.empty() && s.back() == ' ') s.pop_back();
            return s;
        };
        EXPECT_EQ(collapse(text), collapse(paragraphs[i])) << "paragraph " << i + 1;
    }
    const int lineHeight = fonts.lineHeight(label.font);
    EXPECT_LE(static_cast<int>(lines.size()) * lineHeight, label.rect.h);

    // The caption breaks between the paragraphs itself (a line break or a long run of
    // spaces), not by chance of the wrapping.
    std::vector<std::string> stored(1);
    for (std::size_t i = 0; i < label.caption.size();) {
        const std::size_t end = label.caption.find_first_not_of(" \n", i);
        const std::string gap = label.caption.substr(i, end - i);
        if (gap.empty()) {
            stored.back() += label.caption[i++];
            continue;
        }
        if (end != std::string::npos && (gap.find('\n') != std::string::npos || gap.size() >= 20)) {
            stored.emplace_back();
        } else {
            stored.back() += gap;
        }
        i = end == std::string::npos ? label.caption.size() : end;
    }
    EXPECT_EQ(stored, paragraphs);

    // The caption itself ends with the final space of "Hodně štěstí ".
    ASSERT_GE(label.caption.size(), paragraphs.back().size());
    EXPECT_EQ(label.caption.substr(label.caption.size() - paragraphs.back().size()),
              paragraphs.back());

    // "Hodně štěstí" is drawn in navy on the window: its line shows navy text pixels.
    const int y0 = label.rect.y + static_cast<int>(starts.back()) * lineHeight;
    int navy = 0;
    for (int y = y0; y < y0 + lineHeight; ++y)
        for (int x = label.rect.x; x < label.rect.x + label.rect.w; ++x)
            if (game.pixel("Příběh", x, y) == Colour{0, 0, 128}) ++navy;
    EXPECT_GT(navy, 10);
}

TEST(Headquarters, AreFreshAtEveryVisitAndOpenAtTheirPlace) {
    TestGame game("Mapa");
    std::vector<WindowId> windows;
    const std::vector<Step> choices = {{"velitelství", 60, 72},
                                       {"velitelství", 60, 48},
                                       {"velitelství", 60, 72},
                                       {"velitelství", 60, 48}};
    for (const Step& choice : choices) {
        SCOPED_TRACE(choice.y);
        game.click(kMapHeadquarters.scene, kMapHeadquarters.x, kMapHeadquarters.y);
        ASSERT_TRUE(game.loaded("velitelství"));
        EXPECT_EQ(game.windowRect("velitelství"), (Rect{512, 268, 137, 94}));
        EXPECT_EQ(game.windows().front(), "velitelství");
        windows.push_back(game.runtime->loaded("velitelství")->window);
        game.click(choice.scene, choice.x, choice.y);
        EXPECT_FALSE(game.loaded("velitelství"));
        EXPECT_TRUE(game.loaded("Mapa"));
        // Mr. Brown's own progress, as his handlers set it at the first visit, must survive.
        if (windows.size() == 2) game.runtime->setEnabled("Brown", "Image5", true);
    }
    // Each visit had a new window of its own.
    std::sort(windows.begin(), windows.end());
    EXPECT_EQ(std::unique(windows.begin(), windows.end()), windows.end());
    // Going to Mr. Brown again brought back the same Mr. Brown.
    EXPECT_TRUE(game.enabled("Brown", "Image5"));
    EXPECT_EQ(game.windows(), (std::vector<std::string>{"Brown", "Sklad", "Mapa"}));
}

TEST(Map, ClosedPlacesLetTheClickThroughToThePictureWithTheArrow) {
    struct Place {
        const char* hotspot;
        Step at;
        const char* scene;
    };
    const Place places[] = {{"Image3", kMapShop, "green"},
                            {"Image4", kMapBank, "Banka"},
                            {"Image5", kMapVilla, "Vila"}};
    for (const Place& place : places) {
        SCOPED_TRACE(place.hotspot);
        TestGame game("Mapa");
        const SceneDescription& d = game.runtime->description("Mapa");
        game.move("Mapa", place.at.x, place.at.y);
        EXPECT_EQ(hitTest(d, game.runtime->loaded("Mapa")->flags, place.at.x, place.at.y),
                  d.find("Picture1"));
        EXPECT_EQ(game.platform.cursor(), "");
        // Once open, the same pixel takes the player there with the boot.
        game.runtime->setEnabled("Mapa", place.hotspot, true);
        game.move("Mapa", place.at.x, place.at.y);
        EXPECT_EQ(hitTest(d, game.runtime->loaded("Mapa")->flags, place.at.x, place.at.y),
                  d.find(place.hotspot));
        EXPECT_NE(game.platform.cursor().find("walk.png"), std::string::npos);
        game.click("Mapa", place.at.x, place.at.y);
        EXPECT_EQ(game.windows().front(), place.scene);
    }
}

TEST(Map, AnOpenedPlaceStaysOpenAtEveryLaterShowOfTheMap) {
    TestGame game("Mapa");
    game.runtime->setEnabled("Mapa", "Image3", true);  // as Mr. Brown's documents do
    for (int visit = 0; visit < 3; ++visit) {
        SCOPED_TRACE(visit);
        game.click("Mapa", kMapShop.x, kMapShop.y);
        EXPECT_EQ(game.windows().front(), "green");
        game.runtime->show("Mapa");  // the shop's exit
        EXPECT_EQ(game.windows().front(), "Mapa");
    }
}

TEST(Credits, AddressLabelNamesTheHostThatOpens) {
    TestGame game;
    game.click(kMenuCredits.scene, kMenuCredits.x, kMenuCredits.y);
    ASSERT_TRUE(game.loaded("about"));
    game.click("about", 508, 460);
    ASSERT_EQ(game.platform.urls().size(), 1u);
    const std::string url = game.platform.urls().front();
    const std::string scheme = "https://";
    ASSERT_EQ(url.rfind(scheme, 0), 0u) << url;
    const SceneDescription& d = game.runtime->description("about");
    EXPECT_EQ(d.controls.at(static_cast<std::size_t>(d.find("Label1"))).caption,
              url.substr(scheme.size()));
    // The logo opens the very same page, and the credits stay open.
    game.click("about", 500, 500);
    EXPECT_EQ(game.platform.urls(), (std::vector<std::string>{url, url}));
    EXPECT_EQ(game.windows(), (std::vector<std::string>{"about", "ORVAL"}));
}

// The twelve scenes of play in the order the final screen closes them.
const std::vector<std::string> kPlayScenes = {"Inventář", "Vila",     "doma",  "Banka",
                                              "black",    "Brown",    "green", "Mapa",
                                              "pes",      "Rozmluva", "Sklad", "velitelství"};

TEST(FinalScreen, ClosesTheScenesOfPlayAndLoadsNoOther) {
    TestGame game("Příběh");
    game.click("Příběh", kStartButtonX, kStartButtonY);
    // Several places visited through the game's own windows.
    game.runtime->show("Mapa");  // the home's door
    game.click(kMapHeadquarters.scene, kMapHeadquarters.x, kMapHeadquarters.y);
    game.click("velitelství", 60, 72);  // the warehouse
    game.click(kMapHeadquarters.scene, kMapHeadquarters.x, kMapHeadquarters.y);
    game.click("velitelství", 60, 48);  // Mr. Brown
    game.click(kMapHeadquarters.scene, kMapHeadquarters.x, kMapHeadquarters.y);
    for (const char* scene : {"doma", "Inventář", "Mapa", "Sklad", "Brown", "velitelství"})
        ASSERT_TRUE(game.loaded(scene)) << scene;
    for (const char* scene : {"Vila", "Banka", "black", "green", "pes", "Rozmluva"})
        ASSERT_FALSE(game.loaded(scene)) << scene;
    int windowsOpened = 0;
    for (WindowId id = 1;; ++id) {
        try {
            game.platform.window(id);
        } catch (const std::out_of_range&) {
            break;
        }
        ++windowsOpened;
    }

    // The pistol, owned and usable as the warehouse and the cassette leave it.
    game.runtime->setVisible("Inventář", "Picture2", true);
    game.runtime->setEnabled("Inventář", "Image1", true);
    game.clickControl("Inventář", "Picture2");
    ASSERT_TRUE(game.enabled("Inventář", "Timer1"));
    game.wait(18500);
    game.wait(0);  // and whatever falls due at that very millisecond
    game.takeSounds();

    ASSERT_TRUE(game.loaded("win"));
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    for (const std::string& scene : kPlayScenes) EXPECT_FALSE(game.loaded(scene)) << scene;
    for (const char* scene : {"ORVAL", "Příběh", "about"})
        EXPECT_FALSE(game.loaded(scene)) << scene;
    // Only the final screen's own window was opened: no scene was loaded to be unloaded.
    EXPECT_NO_THROW(game.platform.window(windowsOpened + 1));
    EXPECT_THROW(game.platform.window(windowsOpened + 2), std::out_of_range);
    EXPECT_EQ(game.runtime->sceneOfWindow(windowsOpened + 1), "win");
    game.wait(1000);
    EXPECT_TRUE(game.takeSounds().empty());
}

// A desktop that remembers in which order windows were closed.
class ClosingOrder final : public Platform {
  public:
    std::uint64_t now() override { return inner.now(); }
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override {
        return inner.waitEvent(deadline);
    }
    Rect usableBounds() override { return inner.usableBounds(); }
    WindowId openWindow(const WindowRequest& request) override { return inner.openWindow(request); }
    void showWindow(WindowId window) override { inner.showWindow(window); }
    void closeWindow(WindowId window) override {
        closed.push_back(window);
        inner.closeWindow(window);
    }
    void present(WindowId window, const Canvas& canvas) override { inner.present(window, canvas); }
    void setCursor(const std::string& cursorFile) override { inner.setCursor(cursorFile); }
    void messageBox(std::string_view title, std::string_view text) override {
        inner.messageBox(title, text);
    }
    void playSound(const std::string& file) override { inner.playSound(file); }
    void openUrl(const std::string& url) override { inner.openUrl(url); }
    void reportFatal(std::string_view message) override { inner.reportFatal(message); }

    HeadlessPlatform inner;
    std::vector<WindowId> closed;
};

TEST(FinalScreen, ClosesTheTwelveScenesInItsOrder) {
    HandlerRegistry handlers;
    registerAllHandlers(handlers);
    ClosingOrder platform;
    Runtime runtime(platform, testing::sourceDir(), handlers,
                    loadGameDescriptions(testing::sourceDir() / "data", handlers));
    // Every scene of play open, shown in an order unlike the closing one.
    std::map<WindowId, std::string> sceneOf;
    for (auto it = kPlayScenes.rbegin(); it != kPlayScenes.rend(); ++it) {
        runtime.show(*it);
        sceneOf[runtime.loaded(*it)->window] = *it;
    }
    runtime.runFor(0);
    platform.closed.clear();

    runtime.setEnabled("Inventář", "Timer1", true);  // as the pistol's use does
    runtime.runFor(18500);
    runtime.runFor(0);  // and whatever falls due at that very millisecond

    ASSERT_TRUE(runtime.isLoaded("win"));
    std::vector<std::string> closed;
    for (const WindowId id : platform.closed) closed.push_back(sceneOf.at(id));
    EXPECT_EQ(closed, kPlayScenes);
}

}  // namespace
}  // namespace orval
