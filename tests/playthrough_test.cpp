// Whole games, clicked pixel by pixel from the main menu to the end of the program: after every
// step the flags that changed, the sounds, the windows and the message boxes are checked, and
// every flag not named must have kept its value.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/test_game.h"

namespace {

using orval::testing::TestGame;

// A click at a pixel of a scene's window, or (with no scene) time passing.
struct Step {
    std::string scene;
    int x = 0, y = 0;
    std::uint64_t ms = 0;
};
using Path = std::vector<Step>;

Step at(std::string scene, int x, int y) {
    return {std::move(scene), x, y, 0};
}
Step pause(std::uint64_t ms) {
    return {"", 0, 0, ms};
}
Path operator+(Path a, const Path& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void play(TestGame& game, const Step& step) {
    if (step.scene.empty())
        game.wait(step.ms);
    else
        game.click(step.scene, step.x, step.y);
}
void play(TestGame& game, const Path& path) {
    for (const Step& step : path) play(game, step);
}

// Window pixels; the location pictures lie at (8, 40) inside Picture1.
const Step kNewGame = at("ORVAL", 256, 71);
const Step kStartGame = at("Příběh", 244, 344);
const Step kTelephone = at("doma", 504, 204);
const Step kHomeDoor = at("doma", 160, 220);
const Step kDirectory = at("doma", 500, 256);
const Step kMapHeadquarters = at("Mapa", 248, 112);
const Step kMapHome = at("Mapa", 136, 200);
const Step kMapShop = at("Mapa", 280, 256);
const Step kMapBank = at("Mapa", 352, 128);
const Step kMapVilla = at("Mapa", 376, 352);
const Step kToBrown = at("velitelství", 68, 48);
const Step kToWarehouse = at("velitelství", 68, 72);
const Step kWarehouseExit = at("Sklad", 32, 288);
const Step kPistolCrate = at("Sklad", 676, 380);
const Step kDeviceCrateTop = at("Sklad", 580, 304);
const Step kDeviceCrateCorner = at("Sklad", 548, 348);
const Step kBrownHead = at("Brown", 640, 232);
const Step kBox = at("Brown", 556, 296);
const Step kBrownLeftEdge = at("Brown", 32, 264);
const Step kBrownRightEdge = at("Brown", 768, 280);
const Step kGreenHead = at("green", 632, 204);
const Step kGreenLegs = at("green", 648, 348);
const Step kShopExit = at("green", 36, 272);
const Step kBuyMeat = at("Rozmluva", 120, 20);
const Step kBuyPeanuts = at("Rozmluva", 88, 52);
const Step kAskForBlack = at("Rozmluva", 96, 84);
const Step kGoodbye = at("Rozmluva", 72, 112);
const Step kClerk = at("Banka", 508, 260);
const Step kBankExit = at("Banka", 44, 240);
const Step kCarRoof = at("Vila", 516, 320);
const Step kCarBody = at("Vila", 556, 380);
const Step kVillaDoor = at("Vila", 372, 160);
const Step kDogBody = at("pes", 444, 304);
const Step kDogDoor = at("pes", 428, 152);
const Step kMrBlack = at("black", 420, 124);
const Step kPistol = at("Inventář", 63, 67);
const Step kDevice = at("Inventář", 159, 67);
const Step kMeat = at("Inventář", 255, 67);
const Step kPeanuts = at("Inventář", 351, 67);
const Step kCassette = at("Inventář", 447, 67);
const Step kAboutGame = at("win", 168, 504);  // "O hře"
const Step kCreditsOk = at("about", 296, 504);

const std::string kDocumentsText =
    "Včera byl vykraden obchod Mr. Greena, je jisté, že to byl Mr.Black. Mr. Green ho, ale "
    "sledoval a zjistil kde se teď skrývá. Dostaň z Greena kde se Black skrývá.";
constexpr std::uint64_t kArrestDelay = 18500;
// Long enough for every arrival sound (20 or 100 ms after a scene loads) to have played.
const Step kSettle = pause(200);

struct Flag {
    std::string scene, control;
    bool value;  // Visible of a picture box or label, Enabled of a hotspot or timer (ticking)
};
struct Message {
    std::string title, text;
    friend bool operator==(const Message&, const Message&) = default;
};

struct Expect {
    std::string what;
    Step step;
    std::vector<std::string> sounds = {};
    std::vector<Flag> flags = {};  // values after the step; every flag not named stays
    std::string front = {};        // the front window after the step; empty: it stays
    std::vector<std::string> opened = {};
    std::vector<std::string> closed = {};
    std::vector<Message> messages = {};
};

using Flags = std::map<std::string, bool>;

Flags flagsOf(const TestGame& game) {
    Flags flags;
    for (const std::string& scene : orval::sceneNames()) {
        if (!game.loaded(scene)) continue;
        for (const orval::ControlDescription& c : game.runtime->description(scene).controls) {
            flags[scene + "." + c.name + ".Visible"] = game.visible(scene, c.name);
            flags[scene + "." + c.name + ".Enabled"] = game.enabled(scene, c.name);
        }
    }
    return flags;
}

std::string keyOf(const TestGame& game, const Flag& flag) {
    const orval::SceneDescription& d = game.runtime->description(flag.scene);
    const int index = d.find(flag.control);
    if (index < 0) return flag.scene + "." + flag.control + " (no such control)";
    const orval::ControlKind kind = d.controls[static_cast<std::size_t>(index)].kind;
    const bool visibility =
        kind == orval::ControlKind::PictureBox || kind == orval::ControlKind::Label;
    return flag.scene + "." + flag.control + (visibility ? ".Visible" : ".Enabled");
}

std::set<std::string> loadedScenes(const TestGame& game) {
    std::set<std::string> scenes;
    for (const std::string& scene : orval::sceneNames())
        if (game.loaded(scene)) scenes.insert(scene);
    return scenes;
}

std::string frontOf(const TestGame& game) {
    const std::vector<std::string> windows = game.windows();
    return windows.empty() ? std::string() : windows.front();
}

std::vector<Message> messagesOf(const TestGame& game, std::size_t first = 0) {
    std::vector<Message> messages;
    const auto& all = game.platform.messages();
    for (std::size_t i = first; i < all.size(); ++i)
        messages.push_back({all[i].title, all[i].text});
    return messages;
}

// How many windows the final screen ever had ("Form1" is its caption alone).
int finalScreenWindows(const TestGame& game) {
    int count = 0;
    for (orval::WindowId id = 1;; ++id) {
        try {
            if (game.platform.window(id).request.title == "Form1") ++count;
        } catch (const std::out_of_range&) {
            return count;
        }
    }
}

// Plays one step on a running game and checks it.
void expectStep(TestGame& game, const Expect& e) {
    SCOPED_TRACE(e.what);
    game.takeSounds();
    const Flags before = flagsOf(game);
    const std::set<std::string> loadedBefore = loadedScenes(game);
    const std::string frontBefore = frontOf(game);
    const std::size_t messagesBefore = game.platform.messages().size();

    play(game, e.step);

    ASSERT_FALSE(game.ended()) << game.runtime->fatalMessage();
    EXPECT_EQ(game.takeSounds(), e.sounds);
    const Flags after = flagsOf(game);
    std::set<std::string> named;
    for (const Flag& flag : e.flags) {
        const std::string key = keyOf(game, flag);
        named.insert(key);
        const auto it = after.find(key);
        if (it == after.end()) {
            ADD_FAILURE() << key << ": the scene is not loaded";
        } else {
            EXPECT_EQ(it->second, flag.value) << key;
        }
    }
    for (const auto& [key, value] : before) {
        const auto it = after.find(key);
        if (it != after.end() && !named.contains(key)) {
            EXPECT_EQ(it->second, value) << key << " changed";
        }
    }
    std::set<std::string> expectedLoaded = loadedBefore;
    expectedLoaded.insert(e.opened.begin(), e.opened.end());
    for (const std::string& scene : e.closed) expectedLoaded.erase(scene);
    EXPECT_EQ(loadedScenes(game), expectedLoaded);
    EXPECT_EQ(frontOf(game), e.front.empty() ? frontBefore : e.front);
    EXPECT_EQ(messagesOf(game, messagesBefore), e.messages);
}

// The whole story, every step with what it must do.
std::vector<Expect> story() {
    return {
        {.what = "main menu: NOVÁ HRA shows the story and closes the menu",
         .step = kNewGame,
         .front = "Příběh",
         .opened = {"Příběh"},
         .closed = {"ORVAL"}},
        {.what = "story: Začít hru shows the home and the inventory",
         .step = kStartGame,
         .flags = {{"doma", "Timer1", true},
                   {"doma", "Image4", true},
                   {"doma", "Image3", false},
                   {"doma", "Image2", false},
                   {"doma", "Image1", false},
                   {"Inventář", "Timer1", false},
                   {"Inventář", "Picture2", false},
                   {"Inventář", "Picture3", false},
                   {"Inventář", "Picture4", false},
                   {"Inventář", "Picture5", false},
                   {"Inventář", "Picture6", false},
                   {"Inventář", "Image1", false},
                   {"Inventář", "Image2", false},
                   {"Inventář", "Image3", false},
                   {"Inventář", "Image4", false},
                   {"Inventář", "Image5", false}},
         .front = "Inventář",
         .opened = {"doma", "Inventář"},
         .closed = {"Příběh"}},
        {.what = "home: the telephone rings 100 ms later",
         .step = pause(100),
         .sounds = {"zvuky/telefon.wav"},
         .flags = {{"doma", "Timer1", false}}},
        {.what = "home: the telephone is answered",
         .step = kTelephone,
         .sounds = {"zvuky/hlasatelka.wav"},
         .flags = {{"doma", "Image4", false}, {"doma", "Image3", true}}},
        {.what = "home: the door shows the map",
         .step = kHomeDoor,
         .flags = {{"Mapa", "Image1", true},
                   {"Mapa", "Image2", true},
                   {"Mapa", "Image3", false},
                   {"Mapa", "Image4", false},
                   {"Mapa", "Image5", false}},
         .front = "Mapa",
         .opened = {"Mapa"}},
        {.what = "map: the headquarters",
         .step = kMapHeadquarters,
         .front = "velitelství",
         .opened = {"velitelství"}},
        {.what = "headquarters: to Mr. Brown",
         .step = kToBrown,
         .flags = {{"Brown", "Timer1", true},
                   {"Brown", "Image5", false},
                   {"Brown", "Image6", true},
                   {"Brown", "Image7", true}},
         .front = "Brown",
         .opened = {"Brown"},
         .closed = {"velitelství"}},
        {.what = "Mr. Brown: his sound 100 ms later",
         .step = pause(100),
         .sounds = {"zvuky/průser.wav"},
         .flags = {{"Brown", "Timer1", false}}},
        {.what = "Mr. Brown tells about the documents",
         .step = kBrownHead,
         .sounds = {"zvuky/dokumenty.wav"},
         .flags = {{"Brown", "Image6", false}, {"Brown", "Image5", true}}},
        {.what = "Mr. Brown: the box of documents opens the shop on the map",
         .step = kBox,
         .flags = {{"Mapa", "Image3", true},
                   {"Brown", "Image5", false},
                   {"Brown", "Image6", false},
                   {"Brown", "Image7", false}},
         .messages = {{"DOKUMENTY", kDocumentsText}}},
        {.what = "Mr. Brown: the right edge leads to the warehouse",
         .step = kBrownRightEdge,
         .front = "Sklad",
         .opened = {"Sklad"}},
        {.what = "warehouse: the pistol",
         .step = kPistolCrate,
         .flags = {{"Inventář", "Picture2", true}}},
        {.what = "warehouse: the listening device",
         .step = kDeviceCrateCorner,
         .flags = {{"Inventář", "Picture3", true}}},
        {.what = "warehouse: back to the map", .step = kWarehouseExit, .front = "Mapa"},
        {.what = "map: Mr. Green's shop",
         .step = kMapShop,
         .flags = {{"green", "Timer1", true}, {"green", "Image7", true}, {"green", "Image8", true}},
         .front = "green",
         .opened = {"green"}},
        {.what = "shop: Mr. Green's wish 20 ms later",
         .step = pause(20),
         .sounds = {"zvuky/přání.wav"},
         .flags = {{"green", "Timer1", false}}},
        {.what = "shop: Mr. Green opens the conversation",
         .step = kGreenLegs,
         .flags = {{"Rozmluva", "Image1", true},
                   {"Rozmluva", "Image2", true},
                   {"Rozmluva", "Image3", false},
                   {"Rozmluva", "Label3", false}},
         .front = "Rozmluva",
         .opened = {"Rozmluva"}},
        {.what = "conversation: the peanuts",
         .step = kBuyPeanuts,
         .sounds = {"zvuky/arašídy.wav"},
         .flags = {{"Inventář", "Picture5", true}, {"Rozmluva", "Image2", false}}},
        {.what = "conversation: the meat",
         .step = kBuyMeat,
         .sounds = {"zvuky/krisí maso.wav"},
         .flags = {{"Inventář", "Picture4", true},
                   {"Rozmluva", "Image1", false},
                   {"Rozmluva", "Image3", true},
                   {"Rozmluva", "Label3", true}}},
        {.what = "conversation: where is Mr. Black",
         .step = kAskForBlack,
         .sounds = {"zvuky/black2.wav"},
         .flags = {{"green", "Image7", false},
                   {"green", "Image8", false},
                   {"Rozmluva", "Image3", false},
                   {"Mapa", "Image4", true}}},
        {.what = "conversation: goodbye",
         .step = kGoodbye,
         .sounds = {"zvuky/naschle.wav"},
         .front = "green",
         .closed = {"Rozmluva"}},
        {.what = "shop: back to the map", .step = kShopExit, .front = "Mapa"},
        {.what = "map: the bank",
         .step = kMapBank,
         .flags = {{"Banka", "Image3", true}, {"Banka", "Image1", false}},
         .front = "Banka",
         .opened = {"Banka"}},
        {.what = "bank: the clerk has no money",
         .step = kClerk,
         .sounds = {"zvuky/no money.wav"},
         .flags = {{"doma", "Image2", true}}},
        {.what = "bank: back to the map", .step = kBankExit, .front = "Mapa"},
        {.what = "map: home", .step = kMapHome, .front = "doma"},
        {.what = "home: the directory",
         .step = kDirectory,
         .sounds = {"zvuky/seznam.wav"},
         .flags = {{"doma", "Image2", false}, {"doma", "Image1", true}}},
        {.what = "home: the second call",
         .step = kTelephone,
         .sounds = {"zvuky/tunelbanka.wav"},
         .flags = {{"doma", "Image1", false},
                   {"Banka", "Image3", false},
                   {"Banka", "Image1", true}}},
        {.what = "home: the door shows the map", .step = kHomeDoor, .front = "Mapa"},
        {.what = "map: the bank again", .step = kMapBank, .front = "Banka"},
        {.what = "bank: the clerk tells where Mr. Black lives",
         .step = kClerk,
         .sounds = {"zvuky/black.wav"},
         .flags = {{"Mapa", "Image5", true}}},
        {.what = "bank: back to the map", .step = kBankExit, .front = "Mapa"},
        {.what = "map: the villa",
         .step = kMapVilla,
         .flags = {{"Vila", "Image1", false}, {"Vila", "Image2", true}, {"Vila", "Image3", true}},
         .front = "Vila",
         .opened = {"Vila"}},
        {.what = "villa: the car",
         .step = kCarRoof,
         .sounds = {"zvuky/auto.wav"},
         .flags = {{"Inventář", "Image2", true}}},
        {.what = "inventory: the listening device passes the night",
         .step = kDevice,
         .sounds = {"zvuky/důkazy.wav"},
         .flags = {{"Inventář", "Picture6", true},
                   {"Inventář", "Picture3", false},
                   {"Inventář", "Image2", false},
                   {"Vila", "Image1", true},
                   {"Vila", "Image2", false},
                   {"Vila", "Image3", false}},
         .messages = {{"Další den", "Počkal jsi do dalšího dne"}}},
        {.what = "villa: the door shows the dog",
         .step = kVillaDoor,
         .flags = {{"pes", "Image1", true},
                   {"pes", "Image2", false},
                   {"pes", "Image3", true},
                   {"pes", "Picture2", false}},
         .front = "pes",
         .opened = {"pes"}},
        {.what = "dog: it growls",
         .step = kDogBody,
         .sounds = {"zvuky/vrčení.wav"},
         .flags = {{"Inventář", "Image3", true}}},
        {.what = "inventory: the meat feeds the dog",
         .step = kMeat,
         .sounds = {"zvuky/pejsek.wav"},
         .flags = {{"Inventář", "Image3", false},
                   {"Inventář", "Picture4", false},
                   {"pes", "Image1", false},
                   {"pes", "Image2", true},
                   {"pes", "Image3", true},
                   {"pes", "Picture2", true}}},
        {.what = "dog: the door shows Mr. Black",
         .step = kDogDoor,
         .flags = {{"black", "Timer1", true}, {"black", "Image2", true}, {"black", "Image1", true}},
         .front = "black",
         .opened = {"black"}},
        {.what = "hideout: the meeting sound 20 ms later",
         .step = pause(20),
         .sounds = {"zvuky/setkání.wav"},
         .flags = {{"black", "Timer1", false}}},
        {.what = "hideout: Mr. Black greets",
         .step = kMrBlack,
         .sounds = {"zvuky/pozdrav.wav"},
         .flags = {{"Inventář", "Image5", true}}},
        {.what = "inventory: the cassette",
         .step = kCassette,
         .sounds = {"zvuky/zatýkání.wav"},
         .flags = {{"black", "Image2", false},
                   {"Inventář", "Picture6", false},
                   {"Inventář", "Image5", false},
                   {"Inventář", "Image1", true}}},
        {.what = "hideout: Mr. Black after the cassette, silently",
         .step = kMrBlack,
         .flags = {{"Inventář", "Image1", true}}},
        {.what = "inventory: the pistol makes the arrest",
         .step = kPistol,
         .sounds = {"zvuky/zatčení.wav"},
         .flags = {{"Inventář", "Timer1", true}}},
        {.what = "arrest: 1 ms before the final screen nothing has happened",
         .step = pause(kArrestDelay - 1)},
        {.what = "arrest: the final screen comes up and closes every scene of play",
         .step = pause(1),
         .front = "win",
         .opened = {"win"},
         .closed = {"Inventář", "Vila", "doma", "Banka", "black", "Brown", "green", "Mapa", "pes",
                    "Sklad"}},
    };
}

TEST(Playthrough, FromTheMainMenuToTheEndOfTheProgram) {
    TestGame game;
    ASSERT_EQ(game.windows(), std::vector<std::string>{"ORVAL"});
    for (const Expect& e : story()) {
        expectStep(game, e);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    EXPECT_EQ(loadedScenes(game), std::set<std::string>{"win"});

    expectStep(game, {.what = "final screen: O hře shows the credits and closes the final screen",
                      .step = kAboutGame,
                      .front = "about",
                      .opened = {"about"},
                      .closed = {"win"}});
    EXPECT_EQ(game.windows(), std::vector<std::string>{"about"});

    play(game, kCreditsOk);
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->exitStatus(), 0);
    EXPECT_EQ(game.runtime->fatalMessage(), "");
    EXPECT_TRUE(loadedScenes(game).empty());
    EXPECT_TRUE(game.windows().empty());
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_EQ(messagesOf(game), (std::vector<Message>{{"DOKUMENTY", kDocumentsText},
                                                      {"Další den", "Počkal jsi do dalšího dne"}}));
    EXPECT_EQ(finalScreenWindows(game), 1);
}

// The story without the warehouse: where its visit may be put is what the next tests vary.
const Path kHomeToMap = {kNewGame, kStartGame, kSettle, kTelephone, kHomeDoor};
const Path kUntilTheNight = {kMapHeadquarters, kToBrown, kSettle,    kBrownHead, kBox,
                             kBrownLeftEdge,   kMapShop, kSettle,    kGreenHead, kBuyMeat,
                             kAskForBlack,     kGoodbye, kShopExit,  kMapBank,   kClerk,
                             kBankExit,        kMapHome, kDirectory, kTelephone, kHomeDoor,
                             kMapBank,         kClerk,   kBankExit,  kMapVilla,  kCarBody};
const Path kUntilTheArrest = {kDevice,  kVillaDoor, kDogBody, kMeat,
                              kDogDoor, kSettle,    kMrBlack, kCassette};

void expectWon(TestGame& game) {
    game.wait(kArrestDelay + 1000);
    EXPECT_FALSE(game.ended()) << game.runtime->fatalMessage();
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    EXPECT_EQ(messagesOf(game).size(), 2u);
}

TEST(Playthrough, ItemsMayBeTakenBeforeOrAfterAnyStep) {
    const Path takeBoth = {kMapHeadquarters, kToWarehouse, kPistolCrate, kDeviceCrateTop,
                           kWarehouseExit};
    int games = 0;
    // Both items at any moment between leaving home and using the device; a visit after the car
    // was clicked finds the device usable at once.
    for (std::size_t cut = 0; cut <= kUntilTheNight.size(); ++cut) {
        SCOPED_TRACE("both items taken after " + std::to_string(cut) + " steps on the map");
        TestGame game;
        play(game, kHomeToMap);
        play(game, Path(kUntilTheNight.begin(), kUntilTheNight.begin() + cut));
        if (game.loaded("velitelství")) continue;  // the headquarters are waiting for a choice
        const bool carClicked = cut == kUntilTheNight.size();
        play(game, takeBoth);
        EXPECT_TRUE(game.visible("Inventář", "Picture2"));
        EXPECT_TRUE(game.visible("Inventář", "Picture3"));
        EXPECT_EQ(game.enabled("Inventář", "Image2"), carClicked);
        play(game, Path(kUntilTheNight.begin() + cut, kUntilTheNight.end()) + kUntilTheArrest +
                       Path{kPistol});
        EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
        expectWon(game);
        ++games;
    }
    // The pistol alone at any moment after the device was used; taken after the cassette it is
    // usable at once.
    const Path takePistol = {kMapHeadquarters, kToWarehouse, kPistolCrate, kWarehouseExit};
    const Path takeDevice = {kMapHeadquarters, kToWarehouse, kDeviceCrateTop, kWarehouseExit};
    for (std::size_t cut = 0; cut <= kUntilTheArrest.size(); ++cut) {
        SCOPED_TRACE("pistol taken after " + std::to_string(cut) + " steps from the night");
        TestGame game;
        play(game, kHomeToMap + takeDevice + kUntilTheNight);
        play(game, Path(kUntilTheArrest.begin(), kUntilTheArrest.begin() + cut));
        EXPECT_FALSE(game.visible("Inventář", "Picture2"));
        play(game, takePistol);
        EXPECT_TRUE(game.visible("Inventář", "Picture2"));
        EXPECT_EQ(game.enabled("Inventář", "Image1"), cut == kUntilTheArrest.size());
        play(game, Path(kUntilTheArrest.begin() + cut, kUntilTheArrest.end()) + Path{kPistol});
        EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
        expectWon(game);
        ++games;
    }
    EXPECT_GT(games, 30);
}

TEST(Playthrough, TheCarBeforeTheDeviceWasTaken) {
    TestGame game;
    play(game, kHomeToMap + kUntilTheNight);
    EXPECT_TRUE(game.enabled("Inventář", "Image2"));
    EXPECT_FALSE(game.visible("Inventář", "Picture3"));
    game.takeSounds();
    play(game, kDevice);  // an empty slot
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_EQ(game.platform.messages().size(), 1u);

    play(game, {kMapHeadquarters, kToWarehouse, kDeviceCrateCorner});
    play(game, kDevice);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/důkazy.wav"});
    EXPECT_EQ(messagesOf(game).back(), (Message{"Další den", "Počkal jsi do dalšího dne"}));
    EXPECT_TRUE(game.visible("Inventář", "Picture6"));
    EXPECT_TRUE(game.enabled("Vila", "Image1"));
}

TEST(Playthrough, CassetteOnlyAfterTheGreetingAndPistolOnlyAfterTheCassette) {
    TestGame game;
    play(game,
         kHomeToMap +
             Path{kMapHeadquarters, kToWarehouse, kPistolCrate, kDeviceCrateTop, kWarehouseExit} +
             kUntilTheNight + Path{kDevice, kVillaDoor, kDogBody, kMeat, kDogDoor, kSettle});
    struct Try {
        std::string what;
        Step step;
        std::vector<std::string> sounds;
        bool cassetteUsable, pistolUsable, blackTalks;
    };
    const Try tries[] = {
        {"the cassette before the greeting",
         kCassette,
         {"zvuky/nefunguje3.wav"},
         false,
         false,
         true},
        {"the pistol before the greeting", kPistol, {"zvuky/nefunguje.wav"}, false, false, true},
        {"the greeting", kMrBlack, {"zvuky/pozdrav.wav"}, true, false, true},
        {"the pistol after the greeting", kPistol, {"zvuky/nefunguje.wav"}, true, false, true},
        {"the greeting again", kMrBlack, {"zvuky/pozdrav.wav"}, true, false, true},
        {"the cassette", kCassette, {"zvuky/zatýkání.wav"}, false, true, false},
        {"Mr. Black after the cassette", kMrBlack, {}, false, true, false},
        {"Mr. Black once more", kMrBlack, {}, false, true, false},
        {"the cassette's empty slot", kCassette, {}, false, true, false},
    };
    for (const Try& t : tries) {
        SCOPED_TRACE(t.what);
        game.takeSounds();
        play(game, t.step);
        EXPECT_EQ(game.takeSounds(), t.sounds);
        EXPECT_EQ(game.enabled("Inventář", "Image5"), t.cassetteUsable);
        EXPECT_EQ(game.enabled("Inventář", "Image1"), t.pistolUsable);
        EXPECT_EQ(game.enabled("black", "Image2"), t.blackTalks);
        EXPECT_FALSE(game.enabled("Inventář", "Timer1"));
    }
    play(game, kPistol);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/zatčení.wav"});
    expectWon(game);
}

TEST(Playthrough, PeanutsAreNeverUsable) {
    const Path steps =
        kHomeToMap +
        Path{kMapHeadquarters, kToWarehouse, kPistolCrate, kDeviceCrateTop, kWarehouseExit,
             kMapHeadquarters, kToBrown,     kSettle,      kBrownHead,      kBox,
             kBrownLeftEdge,   kMapShop,     kSettle,      kGreenHead,      kBuyPeanuts,
             kBuyMeat,         kAskForBlack, kGoodbye,     kShopExit,       kMapBank,
             kClerk,           kBankExit,    kMapHome,     kDirectory,      kTelephone,
             kHomeDoor,        kMapBank,     kClerk,       kBankExit,       kMapVilla,
             kCarBody} +
        kUntilTheArrest + Path{kPistol};
    TestGame game;
    std::size_t i = 0;
    while (i == 0 || steps[i - 1].scene != kBuyPeanuts.scene || steps[i - 1].y != kBuyPeanuts.y)
        play(game, steps[i++]);
    ASSERT_TRUE(game.visible("Inventář", "Picture5"));
    int clicks = 0;
    for (; i <= steps.size(); ++i) {
        SCOPED_TRACE("peanuts clicked after step " + std::to_string(i));
        game.takeSounds();
        const Flags before = flagsOf(game);
        play(game, kPeanuts);
        EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/nefunguje2.wav"});
        EXPECT_EQ(flagsOf(game), before);
        EXPECT_FALSE(game.enabled("Inventář", "Image4"));
        ++clicks;
        if (i < steps.size()) play(game, steps[i]);
    }
    EXPECT_GT(clicks, 20);
    expectWon(game);
}

TEST(Playthrough, EachMessageAndTheFinalScreenComeOnce) {
    TestGame game;
    play(game, kHomeToMap + Path{kMapHeadquarters,
                                 kToBrown,
                                 kSettle,
                                 kBrownHead,
                                 kBox,
                                 kBox,
                                 kBrownHead,
                                 kBox,
                                 kBrownRightEdge,
                                 kPistolCrate,
                                 kDeviceCrateTop,
                                 kWarehouseExit,
                                 kMapShop,
                                 kSettle,
                                 kGreenHead,
                                 kBuyMeat,
                                 kAskForBlack,
                                 kGoodbye,
                                 kShopExit,
                                 kMapBank,
                                 kClerk,
                                 kBankExit,
                                 kMapHome,
                                 kDirectory,
                                 kTelephone,
                                 kHomeDoor,
                                 kMapBank,
                                 kClerk,
                                 kBankExit,
                                 kMapVilla,
                                 kCarBody,
                                 kDevice,
                                 kDevice,
                                 kCarRoof,
                                 kDevice,
                                 kVillaDoor,
                                 kDogBody,
                                 kMeat,
                                 kDogDoor,
                                 kSettle,
                                 kMrBlack,
                                 kCassette,
                                 kPistol});
    EXPECT_EQ(messagesOf(game).size(), 2u);
    game.takeSounds();
    game.wait(10000);
    play(game, kPistol);  // a second shot brings no second final screen
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/zatčení.wav"});
    game.wait(kArrestDelay + 1000);
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    game.wait(60000);
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    EXPECT_EQ(finalScreenWindows(game), 1);
    EXPECT_EQ(messagesOf(game), (std::vector<Message>{{"DOKUMENTY", kDocumentsText},
                                                      {"Další den", "Počkal jsi do dalšího dne"}}));
}

}  // namespace
