// The inventory as the player uses it: clicking the items in their slots.
//
// Owning an item and making it usable are the work of other scenes (the warehouse crates, the
// conversation, the car, the dog, Mr. Black). Those steps are set up here the way those
// scenes' handlers do it, through game.runtime->setVisible / setEnabled, and each place says
// which handler it stands for; the inventory itself is always driven by clicks on its pixels.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_game.h"

namespace orval {
namespace {

using testing::TestGame;

struct Item {
    const char* name;
    const char* box;      // owned while visible
    const char* hotspot;  // usable while enabled
    const char* refusal;  // what a click plays while the item is not usable
};

const Item kItems[] = {
    {"pistol", "Picture2", "Image1", "zvuky/nefunguje.wav"},
    {"listening device", "Picture3", "Image2", "zvuky/nefunguje2.wav"},
    {"meat", "Picture4", "Image3", "zvuky/nefunguje3.wav"},
    {"peanuts", "Picture5", "Image4", "zvuky/nefunguje2.wav"},
    {"cassette", "Picture6", "Image5", "zvuky/nefunguje3.wav"},
};

using Sounds = std::vector<std::string>;

// Every flag of every loaded scene, the open windows, messages and links: what a click could
// change.
struct GameState {
    std::vector<std::string> windows;
    std::map<std::string, std::vector<std::pair<bool, bool>>> flags;
    std::size_t messages = 0, urls = 0;
    friend bool operator==(const GameState&, const GameState&) = default;
};

GameState stateOf(const TestGame& game) {
    GameState state;
    state.windows = game.windows();
    for (const std::string& scene : sceneNames()) {
        if (!game.loaded(scene)) continue;
        auto& flags = state.flags[scene];
        for (const ControlDescription& c : game.runtime->description(scene).controls)
            flags.emplace_back(game.visible(scene, c.name), game.enabled(scene, c.name));
    }
    state.messages = game.platform.messages().size();
    state.urls = game.platform.urls().size();
    return state;
}

// The game as play begins: the briefing's button opens the home and the inventory, and the
// places whose flags the inventory changes are open (hidden) as they are when it matters. The
// arrival sounds are over.
struct Play {
    TestGame game{"Příběh"};
    Play() {
        game.pressEnter("Příběh");
        for (const char* place : {"Vila", "pes", "black"}) game.runtime->show(place);
        game.runtime->show("Inventář");
        game.wait(200);
        game.takeSounds();
    }
    void own(const char* box) { game.runtime->setVisible("Inventář", box, true); }
    void makeUsable(const char* hotspot) { game.runtime->setEnabled("Inventář", hotspot, true); }
    void clickItem(const char* box) { game.clickControl("Inventář", box); }
};

TEST(Inventory, StartsWithTitleAndFrameOnlyAndIgnoresEveryClick) {
    Play play;
    TestGame& game = play.game;
    const Colour window{0x5F, 0xB0, 0xED}, frame{0x11, 0x74, 0xE1}, title{0, 0, 255};
    // The empty slots show the window's own colour.
    for (const Item& item : kItems) {
        SCOPED_TRACE(item.name);
        EXPECT_FALSE(game.visible("Inventář", item.box));
        EXPECT_FALSE(game.enabled("Inventář", item.hotspot));
        for (int y = 40; y < 94; y += 3)
            for (int x = 16; x < 496; x += 3)
                ASSERT_EQ(game.pixel("Inventář", x, y), window) << x << "," << y;
    }
    // The frame around the row of slots and the title above it.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {8, 32}, {504, 32}, {8, 104}, {504, 104}, {250, 32}, {250, 104}, {8, 70}, {504, 70}})
        EXPECT_EQ(game.pixel("Inventář", x, y), frame) << x << "," << y;
    int titlePixels = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 192; x < 321; ++x)
            if (game.pixel("Inventář", x, y) == title) ++titlePixels;
    EXPECT_GT(titlePixels, 20);
    EXPECT_FALSE(game.enabled("Inventář", "Timer1"));

    const GameState before = stateOf(game);
    for (int y = 0; y < 111; y += 5)
        for (int x = 0; x < 516; x += 5) game.click("Inventář", x, y);
    EXPECT_EQ(stateOf(game), before);
    EXPECT_EQ(game.takeSounds(), Sounds{});
}

TEST(Inventory, AnOwnedItemThatIsNotUsableRefusesAndChangesNothing) {
    for (const Item& item : kItems) {
        SCOPED_TRACE(item.name);
        Play play;
        // The warehouse crates or the conversation hand the item over.
        play.own(item.box);
        const GameState before = stateOf(play.game);
        play.clickItem(item.box);
        EXPECT_EQ(play.game.takeSounds(), Sounds{item.refusal});
        play.clickItem(item.box);
        EXPECT_EQ(play.game.takeSounds(), Sounds{item.refusal});
        EXPECT_EQ(stateOf(play.game), before);
        play.game.wait(20000);
        EXPECT_FALSE(play.game.loaded("win"));
    }
}

TEST(Inventory, PeanutsAreNeverUsable) {
    Play play;
    TestGame& game = play.game;
    play.own("Picture5");  // the conversation sells them
    // Everything else that can happen to the inventory before the arrest happens.
    play.own("Picture3");       // the warehouse crate
    play.makeUsable("Image2");  // the car
    play.clickItem("Picture3");
    play.own("Picture4");       // the conversation
    play.makeUsable("Image3");  // the dog's growl
    play.clickItem("Picture4");
    play.makeUsable("Image5");  // Mr. Black's greeting
    play.clickItem("Picture6");
    game.takeSounds();
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE(attempt);
        const GameState before = stateOf(game);
        play.clickItem("Picture5");
        EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/nefunguje2.wav"});
        EXPECT_EQ(stateOf(game), before);
        EXPECT_FALSE(game.enabled("Inventář", "Image4"));
        EXPECT_TRUE(game.visible("Inventář", "Picture5"));
    }
}

TEST(Inventory, TheListeningDevicePassesANightAndYieldsTheCassette) {
    Play play;
    TestGame& game = play.game;
    play.own("Picture3");       // the warehouse crate
    play.makeUsable("Image2");  // Mr. Black's car at the villa
    ASSERT_TRUE(game.enabled("Vila", "Image2"));
    ASSERT_FALSE(game.enabled("Vila", "Image1"));
    play.clickItem("Picture3");

    ASSERT_EQ(game.platform.messages().size(), 1u);
    EXPECT_EQ(game.platform.messages()[0].title, "Další den");
    EXPECT_EQ(game.platform.messages()[0].text, "Počkal jsi do dalšího dne");
    EXPECT_TRUE(game.visible("Inventář", "Picture6"));
    EXPECT_FALSE(game.enabled("Inventář", "Image5"));
    EXPECT_FALSE(game.visible("Inventář", "Picture3"));
    EXPECT_FALSE(game.enabled("Inventář", "Image2"));
    EXPECT_TRUE(game.enabled("Vila", "Image1"));
    EXPECT_FALSE(game.enabled("Vila", "Image2"));
    EXPECT_FALSE(game.enabled("Vila", "Image3"));
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/důkazy.wav"});

    // The cassette is not of use yet.
    play.clickItem("Picture6");
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/nefunguje3.wav"});
    // A device taken again from the crate stays unusable: no second night, no second cassette.
    play.own("Picture3");
    play.clickItem("Picture3");
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/nefunguje2.wav"});
    EXPECT_EQ(game.platform.messages().size(), 1u);
}

TEST(Inventory, TheMeatFeedsTheDog) {
    Play play;
    TestGame& game = play.game;
    play.own("Picture4");       // bought in the conversation
    play.makeUsable("Image3");  // the dog's growl
    play.clickItem("Picture4");

    EXPECT_FALSE(game.enabled("Inventář", "Image3"));
    EXPECT_FALSE(game.visible("Inventář", "Picture4"));
    EXPECT_FALSE(game.enabled("pes", "Image1"));
    EXPECT_TRUE(game.enabled("pes", "Image2"));
    EXPECT_TRUE(game.enabled("pes", "Image3"));
    EXPECT_TRUE(game.visible("pes", "Picture2"));
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/pejsek.wav"});
    EXPECT_TRUE(game.platform.messages().empty());

    // The meat is gone: its empty slot no longer answers.
    const GameState before = stateOf(game);
    play.clickItem("Picture4");
    EXPECT_EQ(game.takeSounds(), Sounds{});
    EXPECT_EQ(stateOf(game), before);
}

TEST(Inventory, TheCassetteSilencesMrBlackAndFreesThePistol) {
    Play play;
    TestGame& game = play.game;
    play.own("Picture2");       // the warehouse crate
    play.own("Picture6");       // the night at the villa
    play.makeUsable("Image5");  // Mr. Black's greeting
    ASSERT_TRUE(game.enabled("black", "Image2"));
    play.clickItem("Picture2");
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/nefunguje.wav"});

    play.clickItem("Picture6");
    EXPECT_FALSE(game.enabled("black", "Image2"));
    EXPECT_FALSE(game.visible("Inventář", "Picture6"));
    EXPECT_FALSE(game.enabled("Inventář", "Image5"));
    EXPECT_TRUE(game.enabled("Inventář", "Image1"));
    EXPECT_FALSE(game.enabled("Inventář", "Timer1"));
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/zatýkání.wav"});

    // The pistol is usable now.
    play.clickItem("Picture2");
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/zatčení.wav"});
    EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
}

TEST(Inventory, ThePistolArrestsMrBlack) {
    Play play;
    TestGame& game = play.game;
    play.own("Picture2");       // the warehouse crate
    play.makeUsable("Image1");  // the cassette's use
    const GameState before = stateOf(game);
    play.clickItem("Picture2");
    EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
    EXPECT_EQ(game.takeSounds(), Sounds{"zvuky/zatčení.wav"});
    // Nothing else changes: the pistol stays owned and usable.
    GameState after = stateOf(game);
    const auto& description = game.runtime->description("Inventář");
    const auto timer = static_cast<std::size_t>(description.find("Timer1"));
    after.flags["Inventář"][timer].second = false;
    EXPECT_EQ(after, before);
}

// Lets time run until `ms` after the clock's present reading, handling what falls due then.
void waitUntil(TestGame& game, std::uint64_t start, std::uint64_t ms) {
    game.wait(start + ms - game.platform.now());
    game.wait(0);
}

TEST(Inventory, TheFinalScreenComesExactly18500MsAfterTheFirstShot) {
    for (const bool secondShot : {false, true}) {
        SCOPED_TRACE(secondShot ? "shot again after 5000 ms" : "one shot");
        Play play;
        TestGame& game = play.game;
        play.own("Picture2");
        play.makeUsable("Image1");  // the cassette's use
        const std::uint64_t shot = game.platform.now();
        play.clickItem("Picture2");
        if (secondShot) {
            waitUntil(game, shot, 5000);
            play.clickItem("Picture2");
            EXPECT_EQ(game.takeSounds(), (Sounds{"zvuky/zatčení.wav", "zvuky/zatčení.wav"}));
        }
        waitUntil(game, shot, 18499);
        EXPECT_FALSE(game.loaded("win"));
        EXPECT_TRUE(game.loaded("Inventář"));
        EXPECT_EQ(game.windows().front(), "Inventář");
        waitUntil(game, shot, 18500);
        EXPECT_TRUE(game.loaded("win"));
        EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
        EXPECT_FALSE(game.loaded("Inventář"));
    }
}

TEST(Inventory, AfterTheArrestOnlyTheFinalScreenRemainsAndTheCreditsEndTheGame) {
    Play play;
    TestGame& game = play.game;
    // Every place of play visited: shown as the map, the headquarters, the shop and the
    // places' doors show them.
    for (const char* scene :
         {"Mapa", "velitelství", "Sklad", "Brown", "green", "Rozmluva", "Banka"})
        game.runtime->show(scene);
    game.runtime->show("Inventář");
    play.own("Picture2");
    play.makeUsable("Image1");
    play.clickItem("Picture2");
    game.wait(18500);
    game.wait(0);

    ASSERT_TRUE(game.loaded("win"));
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    for (const char* scene : {"Inventář", "Vila", "doma", "Banka", "black", "Brown", "green",
                              "Mapa", "pes", "Rozmluva", "Sklad", "velitelství"})
        EXPECT_FALSE(game.loaded(scene)) << scene;

    game.click("win", 168, 504);  // "O hře"
    EXPECT_EQ(game.windows(), std::vector<std::string>{"about"});
    EXPECT_FALSE(game.ended());
    game.click("about", 296, 504);  // "OK"
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->exitStatus(), 0);
    EXPECT_EQ(game.runtime->fatalMessage(), "");
    EXPECT_EQ(game.windows(), std::vector<std::string>{});
}

}  // namespace
}  // namespace orval
