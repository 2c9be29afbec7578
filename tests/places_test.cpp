// The town's places, scene by scene: every state of a place is reached by clicking through a
// real game from the main menu, then one more click (or a wait) is checked for the sounds it
// plays, the flags it changes (every other flag must stay as it was), the windows it opens or
// closes and the message boxes it shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "scenes/model/hit_test.h"
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

// Window pixels. The location pictures lie at (8, 40) inside Picture1, so a thing at picture
// pixel (px, py) is clicked at (px + 8, py + 40).
const Step kNewGame = at("ORVAL", 256, 71);
const Step kStartGame = at("Příběh", 244, 344);

const Step kTelephone = at("doma", 504, 204);
const Step kHomeDoor = at("doma", 160, 220);
const Step kDirectory = at("doma", 500, 256);
const Step kTelevision = at("doma", 680, 236);

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
const Step kDeviceCrateTopOverPistols = at("Sklad", 608, 336);     // picture (600, 296)
const Step kDeviceCrateCornerOverPistols = at("Sklad", 568, 350);  // picture (560, 310)
const Step kKangarooSign = at("Sklad", 436, 152);

const Step kBrownHead = at("Brown", 640, 232);
const Step kBrownLegs = at("Brown", 648, 352);
const Step kBox = at("Brown", 556, 296);
const Step kBrownLeftEdge = at("Brown", 32, 264);
const Step kBrownRightEdge = at("Brown", 768, 280);

const Step kGreenHead = at("green", 632, 204);
const Step kGreenLegs = at("green", 648, 348);
const Step kShopExit = at("green", 36, 272);
const Step kAlarm = at("green", 780, 68);
const Step kPortrait = at("green", 524, 132);
const Step kPoster = at("green", 172, 180);

const Step kBuyMeat = at("Rozmluva", 120, 20);
const Step kBuyPeanuts = at("Rozmluva", 88, 52);
const Step kAskForBlack = at("Rozmluva", 96, 84);
const Step kGoodbye = at("Rozmluva", 72, 112);
const Step kLineOneLastHotspotPixel = at("Rozmluva", 232, 16);
const Step kLineOneBeyondHotspot = at("Rozmluva", 235, 16);

const Step kClerk = at("Banka", 508, 260);
const Step kBankExit = at("Banka", 44, 240);

const Step kVillaLeftEdge = at("Vila", 20, 252);
const Step kLeftEdgeOverTree = at("Vila", 24, 190);  // picture (16, 150)
const Step kTreeCrown = at("Vila", 168, 156);
const Step kTreeTrunk = at("Vila", 52, 220);
const Step kLitWindow = at("Vila", 580, 148);
const Step kCarRoof = at("Vila", 516, 320);
const Step kCarBody = at("Vila", 556, 380);
const Step kVillaDoor = at("Vila", 372, 160);

const Step kDogBody = at("pes", 444, 304);
const Step kDogHead = at("pes", 328, 300);  // under the picture of the dog eating
const Step kDogDoor = at("pes", 428, 152);
const Step kDoorOverDog = at("pes", 458, 250);      // the door's lower strip, beside the head
const Step kDoorUnderEating = at("pes", 358, 250);  // the door's lower strip under the picture
const Step kBowl = at("pes", 260, 344);
const Step kBowlUnderEating = at("pes", 284, 340);

const Step kMrBlack = at("black", 420, 124);

const Step kPistol = at("Inventář", 63, 67);
const Step kDevice = at("Inventář", 159, 67);
const Step kMeat = at("Inventář", 255, 67);
const Step kCassette = at("Inventář", 447, 67);

// Long enough for every arrival sound (20 or 100 ms after a scene loads) to have played.
const Step kSettle = pause(200);

Step closeLabel(const std::string& scene) {
    return at(scene, 812, 8);
}

// The states of one game, each reached from the main menu by the clicks a player makes.
namespace route {
const Path arrivingHome = {kNewGame, kStartGame};
const Path home = arrivingHome + Path{kSettle};
const Path answered = home + Path{kTelephone};
const Path map = answered + Path{kHomeDoor};
const Path warehouse = map + Path{kMapHeadquarters, kToWarehouse};
const Path arrivingBrown = map + Path{kMapHeadquarters, kToBrown};
const Path brown = arrivingBrown + Path{kSettle};
const Path brownToldByHead = brown + Path{kBrownHead};
const Path brownToldByLegs = brown + Path{kBrownLegs};
const Path brownRead = brownToldByHead + Path{kBox};
const Path armed = brownRead + Path{kBrownRightEdge, kPistolCrate, kDeviceCrateTop};
const Path arrivingShop = armed + Path{kWarehouseExit, kMapShop};
const Path shop = arrivingShop + Path{kSettle};
const Path conversation = shop + Path{kGreenHead};
const Path meatBought = conversation + Path{kBuyMeat};
const Path askedOpen = meatBought + Path{kAskForBlack};
const Path asked = askedOpen + Path{kGoodbye};
const Path bank = asked + Path{kShopExit, kMapBank};
const Path refused = bank + Path{kClerk};
const Path directoryOpen = refused + Path{kBankExit, kMapHome};
const Path numberFound = directoryOpen + Path{kDirectory};
const Path called = numberFound + Path{kTelephone};
const Path told = called + Path{kHomeDoor, kMapBank, kClerk};
const Path villa = told + Path{kBankExit, kMapVilla};
const Path planted = villa + Path{kCarBody};
const Path nextDay = planted + Path{kDevice};
const Path dog = nextDay + Path{kVillaDoor};
const Path growled = dog + Path{kDogBody};
const Path fed = growled + Path{kMeat};
const Path arrivingHideout = fed + Path{kDogDoor};
const Path hideout = arrivingHideout + Path{kSettle};
const Path greeted = hideout + Path{kMrBlack};
const Path cassetteUsed = greeted + Path{kCassette};
const Path arrest = cassetteUsed + Path{kPistol};

// The same story up to the villa without a visit to the warehouse.
const Path villaUnarmed =
    brownRead + Path{kBrownLeftEdge, kMapShop, kSettle,    kGreenHead, kBuyMeat,
                     kAskForBlack,   kGoodbye, kShopExit,  kMapBank,   kClerk,
                     kBankExit,      kMapHome, kDirectory, kTelephone, kHomeDoor,
                     kMapBank,       kClerk,   kBankExit,  kMapVilla};
}  // namespace route

struct Flag {
    std::string scene, control;
    bool value;  // Visible of a picture box or label, Enabled of a hotspot or timer (ticking)
};
struct Message {
    std::string title, text;
    friend bool operator==(const Message&, const Message&) = default;
};

struct Row {
    std::string state;
    Path path;  // from the main menu to the state
    Step step;  // what the player does there
    std::vector<std::string> sounds = {};
    std::vector<Flag> flags = {};  // values after the step; every flag not named stays
    std::string front = {};        // the front window after the step; empty: it stays
    std::vector<std::string> opened = {};
    std::vector<std::string> closed = {};
    std::vector<Message> messages = {};
};

// Every flag of every loaded scene, as "scene.control.Visible" and "scene.control.Enabled".
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

std::vector<Message> messagesSince(const TestGame& game, std::size_t first) {
    std::vector<Message> messages;
    const auto& all = game.platform.messages();
    for (std::size_t i = first; i < all.size(); ++i)
        messages.push_back({all[i].title, all[i].text});
    return messages;
}

void check(const Row& row) {
    SCOPED_TRACE(row.state);
    TestGame game;
    play(game, row.path);
    ASSERT_FALSE(game.ended()) << game.runtime->fatalMessage();
    game.takeSounds();
    const Flags before = flagsOf(game);
    const std::set<std::string> loadedBefore = loadedScenes(game);
    const std::string frontBefore = frontOf(game);
    const std::size_t messagesBefore = game.platform.messages().size();

    play(game, row.step);

    ASSERT_FALSE(game.ended()) << game.runtime->fatalMessage();
    EXPECT_EQ(game.takeSounds(), row.sounds);
    const Flags after = flagsOf(game);
    std::set<std::string> named;
    for (const Flag& flag : row.flags) {
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
    expectedLoaded.insert(row.opened.begin(), row.opened.end());
    for (const std::string& scene : row.closed) expectedLoaded.erase(scene);
    EXPECT_EQ(loadedScenes(game), expectedLoaded);
    EXPECT_EQ(frontOf(game), row.front.empty() ? frontBefore : row.front);
    EXPECT_EQ(messagesSince(game, messagesBefore), row.messages);
}

void checkAll(const std::vector<Row>& rows) {
    for (const Row& row : rows) check(row);
}

const char* const kTelephoneRing = "zvuky/telefon.wav";

TEST(Home, TelephoneDoorDirectoryAndTelevision) {
    const Path numberFoundAskedAgain =
        route::numberFound + Path{kHomeDoor, kMapBank, kClerk, kBankExit, kMapHome};
    checkAll({
        {.state = "just arrived: 99 ms later the telephone is still silent",
         .path = route::arrivingHome,
         .step = pause(99),
         .flags = {{"doma", "Timer1", true}}},
        {.state = "just arrived: the telephone rings 100 ms after arrival",
         .path = route::arrivingHome + Path{pause(99)},
         .step = pause(1),
         .sounds = {kTelephoneRing},
         .flags = {{"doma", "Timer1", false}}},
        {.state = "ringing: it never rings a second time",
         .path = route::home,
         .step = pause(60000)},
        {.state = "ringing: the door does not open yet",
         .path = route::home,
         .step = kHomeDoor,
         .flags = {{"doma", "Image3", false}}},
        {.state = "ringing: the directory does nothing",
         .path = route::home,
         .step = kDirectory,
         .flags = {{"doma", "Image2", false}}},
        {.state = "ringing: the television",
         .path = route::home,
         .step = kTelevision,
         .sounds = {"zvuky/televize.wav"}},
        {.state = "ringing: answering the telephone opens the door",
         .path = route::home,
         .step = kTelephone,
         .sounds = {"zvuky/hlasatelka.wav"},
         .flags = {{"doma", "Image4", false},
                   {"doma", "Image3", true},
                   {"doma", "Image2", false},
                   {"doma", "Image1", false}}},
        {.state = "answered before the ring: the ring still comes",
         .path = route::arrivingHome + Path{kTelephone},
         .step = kSettle,
         .sounds = {kTelephoneRing},
         .flags = {{"doma", "Timer1", false}}},
        {.state = "answered: the telephone does not react",
         .path = route::answered,
         .step = kTelephone},
        {.state = "answered: the directory still does nothing",
         .path = route::answered,
         .step = kDirectory},
        {.state = "answered: the door shows the map",
         .path = route::answered,
         .step = kHomeDoor,
         .front = "Mapa",
         .opened = {"Mapa"}},
        {.state = "on the map: home again, without ringing",
         .path = route::map,
         .step = kMapHome,
         .front = "doma"},
        {.state = "back home: no ringing however long the agent waits",
         .path = route::map + Path{kMapHome},
         .step = pause(60000)},
        {.state = "directory open: the telephone still does not react",
         .path = route::directoryOpen,
         .step = kTelephone},
        {.state = "directory open: the directory gives the number",
         .path = route::directoryOpen,
         .step = kDirectory,
         .sounds = {"zvuky/seznam.wav"},
         .flags = {{"doma", "Image2", false}, {"doma", "Image1", true}}},
        {.state = "directory open: the television",
         .path = route::directoryOpen,
         .step = kTelevision,
         .sounds = {"zvuky/televize.wav"}},
        {.state = "number found: the directory does nothing",
         .path = route::numberFound,
         .step = kDirectory},
        {.state = "number found: the second call switches the clerk",
         .path = route::numberFound,
         .step = kTelephone,
         .sounds = {"zvuky/tunelbanka.wav"},
         .flags = {{"doma", "Image1", false},
                   {"Banka", "Image3", false},
                   {"Banka", "Image1", true}}},
        {.state = "number found: the clerk's refusal enables the directory again",
         .path = route::numberFound + Path{kHomeDoor, kMapBank},
         .step = kClerk,
         .sounds = {"zvuky/no money.wav"},
         .flags = {{"doma", "Image2", true}, {"doma", "Image1", true}}},
        {.state = "directory and second call both open: the directory only replays its sound",
         .path = numberFoundAskedAgain,
         .step = kDirectory,
         .sounds = {"zvuky/seznam.wav"},
         .flags = {{"doma", "Image2", false}, {"doma", "Image1", true}}},
        {.state = "directory and second call both open: the telephone makes the call",
         .path = numberFoundAskedAgain,
         .step = kTelephone,
         .sounds = {"zvuky/tunelbanka.wav"},
         .flags = {{"doma", "Image1", false},
                   {"doma", "Image2", true},
                   {"Banka", "Image3", false},
                   {"Banka", "Image1", true}}},
        {.state = "second call made: the telephone never reacts again",
         .path = route::called,
         .step = kTelephone},
        {.state = "second call made: the directory does nothing",
         .path = route::called,
         .step = kDirectory},
        {.state = "second call made: the television",
         .path = route::called,
         .step = kTelevision,
         .sounds = {"zvuky/televize.wav"}},
        {.state = "second call made: the door shows the map",
         .path = route::called,
         .step = kHomeDoor,
         .front = "Mapa"},
    });
}

TEST(Warehouse, CratesSignAndExit) {
    const Path deviceGone = route::nextDay + Path{kVillaLeftEdge, kMapHeadquarters, kToWarehouse};
    checkAll({
        {.state = "nothing taken: the larger crate gives the pistol",
         .path = route::warehouse,
         .step = kPistolCrate,
         .flags = {{"Inventář", "Picture2", true}, {"Inventář", "Image1", false}}},
        {.state = "pistol taken: the larger crate again changes nothing",
         .path = route::warehouse + Path{kPistolCrate},
         .step = kPistolCrate,
         .flags = {{"Inventář", "Picture2", true}}},
        {.state = "nothing taken: the top of the smaller crate gives the listening device",
         .path = route::warehouse,
         .step = kDeviceCrateTop,
         .flags = {{"Inventář", "Picture3", true}, {"Inventář", "Image2", false}}},
        {.state = "nothing taken: the corner of the smaller crate gives the listening device",
         .path = route::warehouse,
         .step = kDeviceCrateCorner,
         .flags = {{"Inventář", "Picture3", true}, {"Inventář", "Image2", false}}},
        {.state = "device taken: the other hotspot of the smaller crate changes nothing",
         .path = route::warehouse + Path{kDeviceCrateTop},
         .step = kDeviceCrateCorner,
         .flags = {{"Inventář", "Picture3", true}}},
        {.state = "nothing taken: where the top touches the larger crate, it is the smaller one",
         .path = route::warehouse,
         .step = kDeviceCrateTopOverPistols,
         .flags = {{"Inventář", "Picture3", true}, {"Inventář", "Picture2", false}}},
        {.state = "nothing taken: where the corner touches the larger crate, it is the smaller one",
         .path = route::warehouse,
         .step = kDeviceCrateCornerOverPistols,
         .flags = {{"Inventář", "Picture3", true}, {"Inventář", "Picture2", false}}},
        {.state = "the kangaroo sign",
         .path = route::warehouse,
         .step = kKangarooSign,
         .sounds = {"zvuky/klokani.wav"}},
        {.state = "the left edge shows the map",
         .path = route::warehouse,
         .step = kWarehouseExit,
         .front = "Mapa"},
        {.state = "after the night: the smaller crate gives the listening device again",
         .path = deviceGone,
         .step = kDeviceCrateTop,
         .flags = {{"Inventář", "Picture3", true}, {"Inventář", "Image2", false}}},
        {.state = "after the night, taken again: the listening device stays unusable",
         .path = deviceGone + Path{kDeviceCrateCorner},
         .step = kDevice,
         .sounds = {"zvuky/nefunguje2.wav"}},
    });
}

TEST(MrBrown, TwoHalvesAndTheBoxOfDocuments) {
    const Message documents{
        "DOKUMENTY",
        "Včera byl vykraden obchod Mr. Greena, je jisté, že to byl Mr.Black. Mr. Green ho, ale "
        "sledoval a zjistil kde se teď skrývá. Dostaň z Greena kde se Black skrývá."};
    const std::vector<Flag> read = {{"Mapa", "Image3", true},
                                    {"Brown", "Image5", false},
                                    {"Brown", "Image6", false},
                                    {"Brown", "Image7", false}};
    checkAll({
        {.state = "just arrived: 99 ms later Mr. Brown is still silent",
         .path = route::arrivingBrown,
         .step = pause(99),
         .flags = {{"Brown", "Timer1", true}}},
        {.state = "just arrived: his sound comes 100 ms after arrival",
         .path = route::arrivingBrown + Path{pause(99)},
         .step = pause(1),
         .sounds = {"zvuky/průser.wav"},
         .flags = {{"Brown", "Timer1", false}}},
        {.state = "coming back through the headquarters",
         .path = route::brown + Path{kBrownLeftEdge, kMapHeadquarters},
         .step = kToBrown,
         .front = "Brown",
         .closed = {"velitelství"}},
        {.state = "back again: no arrival sound however long the agent waits",
         .path = route::brown + Path{kBrownLeftEdge, kMapHeadquarters, kToBrown},
         .step = pause(60000)},
        {.state = "not yet told: the box does nothing",
         .path = route::brown,
         .step = kBox,
         .flags = {{"Brown", "Image5", false}}},
        {.state = "not yet told: his head tells about the documents",
         .path = route::brown,
         .step = kBrownHead,
         .sounds = {"zvuky/dokumenty.wav"},
         .flags = {{"Brown", "Image6", false},
                   {"Brown", "Image7", true},
                   {"Brown", "Image5", true}}},
        {.state = "not yet told: his legs tell about the documents",
         .path = route::brown,
         .step = kBrownLegs,
         .sounds = {"zvuky/dokumenty.wav"},
         .flags = {{"Brown", "Image7", false},
                   {"Brown", "Image6", true},
                   {"Brown", "Image5", true}}},
        {.state = "told by the head: the head has nothing more",
         .path = route::brownToldByHead,
         .step = kBrownHead,
         .sounds = {"zvuky/nemám.wav"}},
        {.state = "told by the head: the legs still tell about the documents",
         .path = route::brownToldByHead,
         .step = kBrownLegs,
         .sounds = {"zvuky/dokumenty.wav"},
         .flags = {{"Brown", "Image7", false}, {"Brown", "Image5", true}}},
        {.state = "told by head and legs: the legs have nothing more",
         .path = route::brownToldByHead + Path{kBrownLegs},
         .step = kBrownLegs,
         .sounds = {"zvuky/nemám.wav"}},
        {.state = "told by the legs: the legs have nothing more",
         .path = route::brownToldByLegs,
         .step = kBrownLegs,
         .sounds = {"zvuky/nemám.wav"}},
        {.state = "told by the legs: the head still tells about the documents",
         .path = route::brownToldByLegs,
         .step = kBrownHead,
         .sounds = {"zvuky/dokumenty.wav"},
         .flags = {{"Brown", "Image6", false}, {"Brown", "Image5", true}}},
        {.state = "told by the head: the box shows the documents and opens the shop",
         .path = route::brownToldByHead,
         .step = kBox,
         .flags = read,
         .messages = {documents}},
        {.state = "told by the legs: the box shows the documents and opens the shop",
         .path = route::brownToldByLegs,
         .step = kBox,
         .flags = read,
         .messages = {documents}},
        {.state = "read: the box does nothing more", .path = route::brownRead, .step = kBox},
        {.state = "read: his head has nothing more",
         .path = route::brownRead,
         .step = kBrownHead,
         .sounds = {"zvuky/nemám.wav"}},
        {.state = "read: his legs have nothing more",
         .path = route::brownRead,
         .step = kBrownLegs,
         .sounds = {"zvuky/nemám.wav"}},
        {.state = "the left edge shows the map",
         .path = route::brown,
         .step = kBrownLeftEdge,
         .front = "Mapa"},
        {.state = "the right edge shows the warehouse",
         .path = route::brown,
         .step = kBrownRightEdge,
         .front = "Sklad",
         .opened = {"Sklad"}},
    });
}

TEST(MrGreensShop, ConversationUntilTheQuestionThenTheBank) {
    const char* const goBank = "zvuky/go bank.wav";
    checkAll({
        {.state = "just arrived: 19 ms later Mr. Green is still silent",
         .path = route::arrivingShop,
         .step = pause(19),
         .flags = {{"green", "Timer1", true}}},
        {.state = "just arrived: his wish comes 20 ms after arrival",
         .path = route::arrivingShop + Path{pause(19)},
         .step = pause(1),
         .sounds = {"zvuky/přání.wav"},
         .flags = {{"green", "Timer1", false}}},
        {.state = "coming back from the map",
         .path = route::shop + Path{kShopExit},
         .step = kMapShop,
         .front = "green"},
        {.state = "back again: no arrival sound however long the agent waits",
         .path = route::shop + Path{kShopExit, kMapShop},
         .step = pause(60000)},
        {.state = "willing: his head opens the conversation",
         .path = route::shop,
         .step = kGreenHead,
         .front = "Rozmluva",
         .opened = {"Rozmluva"}},
        {.state = "willing: his legs open the conversation",
         .path = route::shop,
         .step = kGreenLegs,
         .front = "Rozmluva",
         .opened = {"Rozmluva"}},
        {.state = "conversation open, meat bought: his head brings the same conversation",
         .path = route::meatBought + Path{kPoster},
         .step = kGreenHead,
         .front = "Rozmluva"},
        {.state = "after a goodbye: his legs open the conversation again",
         .path = route::conversation + Path{kGoodbye},
         .step = kGreenLegs,
         .front = "Rozmluva",
         .opened = {"Rozmluva"}},
        {.state = "asked, conversation still open: his head sends the agent to the bank",
         .path = route::askedOpen,
         .step = kGreenHead,
         .sounds = {goBank}},
        {.state = "asked: his head sends the agent to the bank",
         .path = route::asked,
         .step = kGreenHead,
         .sounds = {goBank}},
        {.state = "asked: his legs send the agent to the bank",
         .path = route::asked,
         .step = kGreenLegs,
         .sounds = {goBank}},
        {.state = "willing: the poster",
         .path = route::shop,
         .step = kPoster,
         .sounds = {"zvuky/sleva.wav"}},
        {.state = "willing: the portrait",
         .path = route::shop,
         .step = kPortrait,
         .sounds = {"zvuky/zorvina.wav"}},
        {.state = "willing: the alarm",
         .path = route::shop,
         .step = kAlarm,
         .sounds = {"zvuky/alarm.wav"}},
        {.state = "asked: the poster",
         .path = route::asked,
         .step = kPoster,
         .sounds = {"zvuky/sleva.wav"}},
        {.state = "asked: the portrait",
         .path = route::asked,
         .step = kPortrait,
         .sounds = {"zvuky/zorvina.wav"}},
        {.state = "asked: the alarm",
         .path = route::asked,
         .step = kAlarm,
         .sounds = {"zvuky/alarm.wav"}},
        {.state = "the left edge shows the map",
         .path = route::shop,
         .step = kShopExit,
         .front = "Mapa"},
    });
}

TEST(Conversation, LinesQuestionAndGoodbye) {
    const std::vector<Flag> meat = {{"Inventář", "Picture4", true},
                                    {"Rozmluva", "Image1", false},
                                    {"Rozmluva", "Image3", true},
                                    {"Rozmluva", "Label3", true}};
    const Path reopened = route::meatBought + Path{kGoodbye, kGreenHead};
    checkAll({
        {.state = "opened: the place of the question does nothing",
         .path = route::conversation,
         .step = kAskForBlack,
         .flags = {{"Rozmluva", "Label3", false}, {"Rozmluva", "Image3", false}}},
        {.state = "opened: the right end of line 1, beyond its hotspot, does nothing",
         .path = route::conversation,
         .step = kLineOneBeyondHotspot},
        {.state = "opened: the last pixel of line 1's hotspot buys the meat",
         .path = route::conversation,
         .step = kLineOneLastHotspotPixel,
         .sounds = {"zvuky/krisí maso.wav"},
         .flags = meat},
        {.state = "opened: line 1 buys the meat and reveals the question",
         .path = route::conversation,
         .step = kBuyMeat,
         .sounds = {"zvuky/krisí maso.wav"},
         .flags = meat},
        {.state = "meat bought: line 1 does nothing", .path = route::meatBought, .step = kBuyMeat},
        {.state = "opened: line 2 buys the peanuts and does not reveal the question",
         .path = route::conversation,
         .step = kBuyPeanuts,
         .sounds = {"zvuky/arašídy.wav"},
         .flags = {{"Inventář", "Picture5", true},
                   {"Rozmluva", "Image2", false},
                   {"Rozmluva", "Label3", false}}},
        {.state = "peanuts bought: line 2 does nothing",
         .path = route::conversation + Path{kBuyPeanuts},
         .step = kBuyPeanuts},
        {.state = "peanuts bought: the question is still not there",
         .path = route::conversation + Path{kBuyPeanuts},
         .step = kAskForBlack},
        {.state = "meat bought: the question opens the bank and ends Mr. Green's talk",
         .path = route::meatBought,
         .step = kAskForBlack,
         .sounds = {"zvuky/black2.wav"},
         .flags = {{"Rozmluva", "Image3", false},
                   {"Rozmluva", "Label3", true},
                   {"green", "Image7", false},
                   {"green", "Image8", false},
                   {"Mapa", "Image4", true}}},
        {.state = "asked: the question does nothing more",
         .path = route::askedOpen,
         .step = kAskForBlack},
        {.state = "asked: line 2 still buys the peanuts",
         .path = route::askedOpen,
         .step = kBuyPeanuts,
         .sounds = {"zvuky/arašídy.wav"},
         .flags = {{"Inventář", "Picture5", true}, {"Rozmluva", "Image2", false}}},
        {.state = "opened: goodbye closes the window, then says goodbye",
         .path = route::conversation,
         .step = kGoodbye,
         .sounds = {"zvuky/naschle.wav"},
         .front = "green",
         .closed = {"Rozmluva"}},
        {.state = "asked: goodbye closes the window",
         .path = route::askedOpen,
         .step = kGoodbye,
         .sounds = {"zvuky/naschle.wav"},
         .front = "green",
         .closed = {"Rozmluva"}},
        {.state = "reopened after the meat: the question is hidden again",
         .path = reopened,
         .step = kAskForBlack,
         .flags = {{"Rozmluva", "Label3", false}, {"Rozmluva", "Image3", false}}},
        {.state = "reopened after the meat: the meat is bought again",
         .path = reopened,
         .step = kBuyMeat,
         .sounds = {"zvuky/krisí maso.wav"},
         .flags = meat},
        {.state = "reopened after the meat: the question after the meat",
         .path = reopened + Path{kBuyMeat},
         .step = kAskForBlack,
         .sounds = {"zvuky/black2.wav"},
         .flags = {{"Rozmluva", "Image3", false},
                   {"green", "Image7", false},
                   {"green", "Image8", false},
                   {"Mapa", "Image4", true}}},
    });
}

TEST(Conversation, LineOneEndsBeyondItsHotspot) {
    TestGame game;
    play(game, route::conversation);
    const orval::SceneDescription& d = game.runtime->description("Rozmluva");
    const orval::SceneFlags& flags = game.runtime->loaded("Rozmluva")->flags;
    EXPECT_EQ(orval::hitTest(d, flags, kLineOneBeyondHotspot.x, kLineOneBeyondHotspot.y),
              d.find("Label1"));
    EXPECT_EQ(orval::hitTest(d, flags, kLineOneLastHotspotPixel.x, kLineOneLastHotspotPixel.y),
              d.find("Image1"));
}

TEST(Bank, TheClerksTwoAnswers) {
    checkAll({
        {.state = "first answer: no money, and the directory at home opens",
         .path = route::bank,
         .step = kClerk,
         .sounds = {"zvuky/no money.wav"},
         .flags = {{"doma", "Image2", true}, {"Mapa", "Image5", false}}},
        {.state = "first answer given: the same answer again",
         .path = route::refused,
         .step = kClerk,
         .sounds = {"zvuky/no money.wav"},
         .flags = {{"doma", "Image2", true}}},
        {.state = "the left edge shows the map",
         .path = route::bank,
         .step = kBankExit,
         .front = "Mapa"},
        {.state = "back after the second call: the second answer opens the villa",
         .path = route::called + Path{kHomeDoor, kMapBank},
         .step = kClerk,
         .sounds = {"zvuky/black.wav"},
         .flags = {{"Mapa", "Image5", true},
                   {"Banka", "Image3", false},
                   {"Banka", "Image1", true},
                   {"doma", "Image2", false}}},
        {.state = "second answer given: the same answer again",
         .path = route::told,
         .step = kClerk,
         .sounds = {"zvuky/black.wav"},
         .flags = {{"Mapa", "Image5", true}}},
        {.state = "second answer given: the left edge shows the map",
         .path = route::told,
         .step = kBankExit,
         .front = "Mapa"},
    });
}

TEST(Villa, CarTreeWindowAndDoor) {
    const std::vector<Flag> nightPassed = {
        {"Inventář", "Picture6", true}, {"Inventář", "Picture3", false},
        {"Inventář", "Image2", false},  {"Vila", "Image1", true},
        {"Vila", "Image2", false},      {"Vila", "Image3", false}};
    const Message nextDay{"Další den", "Počkal jsi do dalšího dne"};
    const Path plantedUnarmed = route::villaUnarmed + Path{kCarBody};
    const Path deviceTakenAgain =
        route::nextDay + Path{kVillaLeftEdge,  kMapHeadquarters, kToWarehouse,
                              kDeviceCrateTop, kWarehouseExit,   kMapVilla};
    std::vector<Row> rows = {
        {.state = "arrived: the door does not open",
         .path = route::villa,
         .step = kVillaDoor,
         .flags = {{"Vila", "Image1", false}}},
        {.state = "arrived: the car's body makes the listening device usable",
         .path = route::villa,
         .step = kCarBody,
         .sounds = {"zvuky/auto.wav"},
         .flags = {{"Inventář", "Image2", true}}},
        {.state = "arrived: the car's roof makes the listening device usable",
         .path = route::villa,
         .step = kCarRoof,
         .sounds = {"zvuky/auto.wav"},
         .flags = {{"Inventář", "Image2", true}}},
        {.state = "device planted: the car only replays its sound",
         .path = route::planted,
         .step = kCarRoof,
         .sounds = {"zvuky/auto.wav"}},
        {.state = "device planted: the device passes the night",
         .path = route::planted,
         .step = kDevice,
         .sounds = {"zvuky/důkazy.wav"},
         .flags = nightPassed,
         .messages = {nextDay}},
        {.state = "next day: the car's body does nothing",
         .path = route::nextDay,
         .step = kCarBody},
        {.state = "next day: the car's roof does nothing",
         .path = route::nextDay,
         .step = kCarRoof},
        {.state = "next day: the door shows the dog",
         .path = route::nextDay,
         .step = kVillaDoor,
         .front = "pes",
         .opened = {"pes"}},
        {.state = "before the warehouse: the car enables the device not yet owned",
         .path = route::villaUnarmed,
         .step = kCarBody,
         .sounds = {"zvuky/auto.wav"},
         .flags = {{"Inventář", "Image2", true}, {"Inventář", "Picture3", false}}},
        {.state = "car clicked before the warehouse: the device is usable once taken",
         .path = plantedUnarmed + Path{kVillaLeftEdge, kMapHeadquarters, kToWarehouse},
         .step = kDeviceCrateCorner,
         .flags = {{"Inventář", "Picture3", true}, {"Inventář", "Image2", true}}},
        {.state = "car clicked before the warehouse, device taken: the night passes",
         .path = plantedUnarmed +
                 Path{kVillaLeftEdge, kMapHeadquarters, kToWarehouse, kDeviceCrateCorner},
         .step = kDevice,
         .sounds = {"zvuky/důkazy.wav"},
         .flags = nightPassed,
         .messages = {nextDay}},
        {.state = "next day, the device taken again: the car does not make it usable",
         .path = deviceTakenAgain,
         .step = kCarBody,
         .flags = {{"Inventář", "Image2", false}, {"Inventář", "Picture3", true}}},
    };
    // The tree, the window and both left-hand exits behave alike before and after the night.
    for (const auto& [name, path] : std::vector<std::pair<std::string, Path>>{
             {"arrived", route::villa}, {"next day", route::nextDay}}) {
        rows.push_back({.state = name + ": the crown of the tree",
                        .path = path,
                        .step = kTreeCrown,
                        .sounds = {"zvuky/matoni.wav"}});
        rows.push_back({.state = name + ": the trunk of the tree",
                        .path = path,
                        .step = kTreeTrunk,
                        .sounds = {"zvuky/matoni.wav"}});
        rows.push_back({.state = name + ": the lit window",
                        .path = path,
                        .step = kLitWindow,
                        .sounds = {"zvuky/okno vily.wav"}});
        rows.push_back({.state = name + ": the left strip over the tree shows the map",
                        .path = path,
                        .step = kLeftEdgeOverTree,
                        .front = "Mapa"});
        rows.push_back({.state = name + ": the left edge shows the map",
                        .path = path,
                        .step = kVillaLeftEdge,
                        .front = "Mapa"});
    }
    checkAll(rows);
}

TEST(Dog, GrowlMeatAndDoor) {
    checkAll({
        {.state = "guarded: the door does not open",
         .path = route::dog,
         .step = kDogDoor,
         .flags = {{"pes", "Image2", false}}},
        {.state = "guarded: the door's lower strip belongs to the dog",
         .path = route::dog,
         .step = kDoorOverDog,
         .sounds = {"zvuky/vrčení.wav"},
         .flags = {{"Inventář", "Image3", true}}},
        {.state = "guarded: the door's strip by the head belongs to the dog",
         .path = route::dog,
         .step = kDoorUnderEating,
         .sounds = {"zvuky/vrčení.wav"},
         .flags = {{"Inventář", "Image3", true}}},
        {.state = "guarded: the dog growls and the meat becomes usable",
         .path = route::dog,
         .step = kDogBody,
         .sounds = {"zvuky/vrčení.wav"},
         .flags = {{"Inventář", "Image3", true}}},
        {.state = "guarded: its head growls too",
         .path = route::dog,
         .step = kDogHead,
         .sounds = {"zvuky/vrčení.wav"},
         .flags = {{"Inventář", "Image3", true}}},
        {.state = "growled: it growls again",
         .path = route::growled,
         .step = kDogBody,
         .sounds = {"zvuky/vrčení.wav"}},
        {.state = "guarded: the meat cannot be used yet",
         .path = route::dog,
         .step = kMeat,
         .sounds = {"zvuky/nefunguje3.wav"}},
        {.state = "guarded: the bowl",
         .path = route::dog,
         .step = kBowl,
         .sounds = {"zvuky/blek.wav"}},
        {.state = "guarded: the right part of the bowl",
         .path = route::dog,
         .step = kBowlUnderEating,
         .sounds = {"zvuky/blek.wav"}},
        {.state = "growled: the meat feeds the dog",
         .path = route::growled,
         .step = kMeat,
         .sounds = {"zvuky/pejsek.wav"},
         .flags = {{"Inventář", "Image3", false},
                   {"Inventář", "Picture4", false},
                   {"pes", "Image1", false},
                   {"pes", "Image2", true},
                   {"pes", "Image3", true},
                   {"pes", "Picture2", true}}},
        {.state = "fed: the dog's body does nothing", .path = route::fed, .step = kDogBody},
        {.state = "fed: the eating picture over its head does nothing",
         .path = route::fed,
         .step = kDogHead},
        {.state = "fed: the door under the eating picture does nothing",
         .path = route::fed,
         .step = kDoorUnderEating},
        {.state = "fed: the meat is gone from the inventory", .path = route::fed, .step = kMeat},
        {.state = "fed: the bowl", .path = route::fed, .step = kBowl, .sounds = {"zvuky/blek.wav"}},
        {.state = "fed: the right part of the bowl lies under the eating picture",
         .path = route::fed,
         .step = kBowlUnderEating},
        {.state = "fed: the door shows Mr. Black",
         .path = route::fed,
         .step = kDogDoor,
         .front = "black",
         .opened = {"black"}},
        {.state = "fed: the door's lower strip beside the head shows Mr. Black",
         .path = route::fed,
         .step = kDoorOverDog,
         .front = "black",
         .opened = {"black"}},
    });
}

TEST(MrBlack, GreetingCassetteAndPistol) {
    checkAll({
        {.state = "just arrived: 19 ms later nothing is heard",
         .path = route::arrivingHideout,
         .step = pause(19),
         .flags = {{"black", "Timer1", true}}},
        {.state = "just arrived: the meeting sound comes 20 ms after arrival",
         .path = route::arrivingHideout + Path{pause(19)},
         .step = pause(1),
         .sounds = {"zvuky/setkání.wav"},
         .flags = {{"black", "Timer1", false}}},
        {.state = "coming back through the dog's door",
         .path = route::hideout,
         .step = kDogDoor,
         .front = "black"},
        {.state = "back again: no arrival sound however long the agent waits",
         .path = route::hideout + Path{kDogDoor},
         .step = pause(60000)},
        {.state = "meeting: the cassette cannot be used yet",
         .path = route::hideout,
         .step = kCassette,
         .sounds = {"zvuky/nefunguje3.wav"}},
        {.state = "meeting: the pistol cannot be used yet",
         .path = route::hideout,
         .step = kPistol,
         .sounds = {"zvuky/nefunguje.wav"}},
        {.state = "meeting: Mr. Black greets, the cassette becomes usable",
         .path = route::hideout,
         .step = kMrBlack,
         .sounds = {"zvuky/pozdrav.wav"},
         .flags = {{"Inventář", "Image5", true}, {"Inventář", "Image1", false}}},
        {.state = "greeted: he greets again",
         .path = route::greeted,
         .step = kMrBlack,
         .sounds = {"zvuky/pozdrav.wav"}},
        {.state = "greeted: the pistol still cannot be used",
         .path = route::greeted,
         .step = kPistol,
         .sounds = {"zvuky/nefunguje.wav"}},
        {.state = "greeted: the cassette silences him and the pistol becomes usable",
         .path = route::greeted,
         .step = kCassette,
         .sounds = {"zvuky/zatýkání.wav"},
         .flags = {{"black", "Image2", false},
                   {"black", "Image1", true},
                   {"Inventář", "Picture6", false},
                   {"Inventář", "Image5", false},
                   {"Inventář", "Image1", true}}},
        {.state = "cassette used: Mr. Black makes the pistol usable, silently",
         .path = route::cassetteUsed,
         .step = kMrBlack,
         .flags = {{"Inventář", "Image1", true}}},
        {.state = "cassette used: the cassette is gone",
         .path = route::cassetteUsed,
         .step = kCassette},
        {.state = "cassette used: the pistol makes the arrest",
         .path = route::cassetteUsed,
         .step = kPistol,
         .sounds = {"zvuky/zatčení.wav"},
         .flags = {{"Inventář", "Timer1", true}}},
    });
}

TEST(Locations, XEndsTheProgramFromEveryPlace) {
    struct Case {
        std::string state;
        Path path;
        std::string scene;
    };
    const Case cases[] = {
        {"home, ringing", route::arrivingHome, "doma"},
        {"home, answered", route::answered, "doma"},
        {"home, second call made", route::called, "doma"},
        {"warehouse", route::warehouse, "Sklad"},
        {"Mr. Brown, not yet told", route::brown, "Brown"},
        {"Mr. Brown, read", route::brownRead, "Brown"},
        {"shop, willing", route::shop, "green"},
        {"shop, conversation open", route::conversation, "green"},
        {"shop, asked", route::asked, "green"},
        {"bank, first answer", route::bank, "Banka"},
        {"bank, second answer", route::told, "Banka"},
        {"villa, arrived", route::villa, "Vila"},
        {"villa, next day", route::nextDay, "Vila"},
        {"dog, guarded", route::dog, "pes"},
        {"dog, fed", route::fed, "pes"},
        {"hideout, meeting", route::hideout, "black"},
        {"hideout, cassette used", route::cassetteUsed, "black"},
        {"hideout, arrest under way", route::arrest, "black"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        TestGame game;
        play(game, c.path);
        ASSERT_FALSE(game.ended());
        game.takeSounds();
        play(game, closeLabel(c.scene));
        EXPECT_TRUE(game.ended());
        EXPECT_EQ(game.runtime->exitStatus(), 0);
        EXPECT_EQ(game.runtime->fatalMessage(), "");
        EXPECT_TRUE(game.windows().empty());
        EXPECT_TRUE(loadedScenes(game).empty());
        game.wait(20000);  // nothing comes back, not even the final screen
        EXPECT_TRUE(loadedScenes(game).empty());
        EXPECT_TRUE(game.takeSounds().empty());
    }
}

}  // namespace
