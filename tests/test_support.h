// What the test files share: scratch directories, the game's handlers and descriptions, pixel
// counts, the player's clicks by name, the routes from the main menu to each state of a game,
// and the check of one step against everything it may change.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/test_game.h"

namespace orval::testing {

namespace fs = std::filesystem;

// A directory of its own under the system's temporary directory, removed at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string readFile(const fs::path& file);
void writeFile(const fs::path& file, std::string_view text);
// An environment variable set for the life of the object, then put back as it was.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        set(name, value.c_str());
    }
    ~ScopedEnv() { set(name_, old_ ? old_->c_str() : nullptr); }

  private:
    // Windows has no setenv; there an empty value removes the variable.
    static void set(const char* name, const char* value) {
#ifdef _WIN32
        _putenv_s(name, value ? value : "");
#else
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
#endif
    }

    const char* name_;
    std::optional<std::string> old_;
};

// A file that is not a regular file and would block a reader: a FIFO; on Windows and under
// node, whose file systems have none, a directory.
void makeFifo(const fs::path& file);
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
// Something in the file's place that no one, not even root, can read or list (under node the
// host's links reach the tests as no file at all).
#define ORVAL_TEST_UNREADABLE_FILES 1
void makeUnreadable(const fs::path& file);
#endif

// Copies the game's data/ into the directory `to`, for a test to damage.
void copyData(const fs::path& to);
::testing::AssertionResult mentions(const std::string& message, const std::string& word);

// Every handler of the game, registered once, and the descriptions read with them.
const HandlerRegistry& gameHandlers();
std::vector<SceneDescription> gameDescriptions(const fs::path& base = sourceDir());

// The headless platform behind a door of its own, for tests and tools that watch or change
// one of its parts and hand the rest on.
class ForwardingPlatform : public Platform {
  public:
    std::uint64_t now() override { return inner.now(); }
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override {
        return inner.waitEvent(deadline);
    }
    int fitScale(const WindowPlan& plan) override { return inner.fitScale(plan); }
    Rect usableBounds() override { return inner.usableBounds(); }
    Rect arrangement() override { return inner.arrangement(); }
    WindowId openWindow(const WindowRequest& request, WindowPainter& painter) override {
        return inner.openWindow(request, painter);
    }
    void showWindow(WindowId window) override { inner.showWindow(window); }
    void closeWindow(WindowId window) override { inner.closeWindow(window); }
    void invalidate(WindowId window) override { inner.invalidate(window); }
    void setCursor(const std::string& file) override { inner.setCursor(file); }
    void movePointer(WindowId window, int x, int y) override { inner.movePointer(window, x, y); }
    void toggleFullscreen() override { inner.toggleFullscreen(); }
    void nextWindow() override { inner.nextWindow(); }
    void playSound(const std::string& file) override { inner.playSound(file); }
    void stopSound() override { inner.stopSound(); }
    FontFiles fontFiles() override { return inner.fontFiles(); }
    void openUrl(const std::string& url) override { inner.openUrl(url); }
    void showPlainError(std::string_view title, std::string_view text) override {
        inner.showPlainError(title, text);
    }

    HeadlessPlatform inner;
};

// The headless platform that also notes the order windows close in, and can be told to fail
// at opening links.
class RecordingPlatform final : public ForwardingPlatform {
  public:
    void closeWindow(WindowId window) override;
    void openUrl(const std::string& url) override;

    std::vector<WindowId> closed;
    bool linksFail = false;
};

// Pixels of `area` (as far as it lies on the canvas) that have exactly `colour`.
int countColour(const Canvas& canvas, const Rect& area, Colour colour);
// Pixels of `area` that differ from `picture` read from (px, py) on.
int mismatches(const Canvas& canvas, const Rect& area, const Canvas& picture, int px = 0,
               int py = 0);
// A decoded picture of the game's data as a canvas of its own size.
Canvas canvasOf(const std::string& file);

// A click at a pixel of a scene's window, or (with no scene) time passing.
struct Step {
    std::string scene;
    int x = 0, y = 0;
    std::uint64_t ms = 0;
};
using Path = std::vector<Step>;

inline Step at(std::string scene, int x, int y) { return {std::move(scene), x, y, 0}; }
inline Step pause(std::uint64_t ms) { return {"", 0, 0, ms}; }
Path operator+(Path a, const Path& b);
Path operator+(Path a, const Step& b);
void play(TestGame& game, const Step& step);
void play(TestGame& game, const Path& path);

// Window pixels of what the player clicks. The location pictures lie at (8, 40) inside Picture1,
// so a thing at picture pixel (px, py) is clicked at (px + 8, py + 40).
inline const Step kNewGame = at("ORVAL", 256, 71);
inline const Step kMenuCredits = at("ORVAL", 257, 127);
inline const Step kStartGame = at("Příběh", 244, 344);

inline const Step kTelephone = at("doma", 504, 204);
inline const Step kHomeDoor = at("doma", 160, 220);
inline const Step kDirectory = at("doma", 500, 256);
inline const Step kTelevision = at("doma", 680, 236);

inline const Step kMapHeadquarters = at("Mapa", 248, 112);
inline const Step kMapHome = at("Mapa", 136, 200);
inline const Step kMapShop = at("Mapa", 280, 256);
inline const Step kMapBank = at("Mapa", 352, 128);
inline const Step kMapVilla = at("Mapa", 376, 352);
inline const Step kToBrown = at("velitelství", 68, 48);
inline const Step kToWarehouse = at("velitelství", 68, 72);

inline const Step kWarehouseExit = at("Sklad", 32, 288);
inline const Step kPistolCrate = at("Sklad", 676, 380);
inline const Step kDeviceCrateTop = at("Sklad", 580, 304);
inline const Step kDeviceCrateCorner = at("Sklad", 548, 348);
inline const Step kKangarooSign = at("Sklad", 436, 152);

inline const Step kBrownHead = at("Brown", 640, 232);
inline const Step kBrownLegs = at("Brown", 648, 352);
inline const Step kBox = at("Brown", 556, 296);
inline const Step kBrownLeftEdge = at("Brown", 32, 264);
inline const Step kBrownRightEdge = at("Brown", 768, 280);

inline const Step kGreenHead = at("green", 632, 204);
inline const Step kGreenLegs = at("green", 648, 348);
inline const Step kShopExit = at("green", 36, 272);
inline const Step kAlarm = at("green", 780, 68);
inline const Step kPortrait = at("green", 524, 132);
inline const Step kPoster = at("green", 172, 180);

inline const Step kBuyMeat = at("Rozmluva", 120, 20);
inline const Step kBuyPeanuts = at("Rozmluva", 88, 52);
inline const Step kAskForBlack = at("Rozmluva", 96, 84);
inline const Step kGoodbye = at("Rozmluva", 72, 112);

inline const Step kClerk = at("Banka", 508, 260);
inline const Step kBankExit = at("Banka", 44, 240);

inline const Step kVillaLeftEdge = at("Vila", 20, 252);
inline const Step kTreeCrown = at("Vila", 168, 156);
inline const Step kTreeTrunk = at("Vila", 52, 220);
inline const Step kLitWindow = at("Vila", 580, 148);
inline const Step kCarRoof = at("Vila", 516, 320);
inline const Step kCarBody = at("Vila", 556, 380);
inline const Step kVillaDoor = at("Vila", 372, 160);

inline const Step kDogBody = at("pes", 444, 304);
inline const Step kDogHead = at("pes", 328, 300);  // under the picture of the dog eating
inline const Step kDogDoor = at("pes", 428, 152);
inline const Step kBowl = at("pes", 260, 344);
inline const Step kMrBlack = at("black", 420, 124);

inline const Step kPistol = at("Inventář", 63, 67);
inline const Step kDevice = at("Inventář", 159, 67);
inline const Step kMeat = at("Inventář", 255, 67);
inline const Step kPeanuts = at("Inventář", 351, 67);
inline const Step kCassette = at("Inventář", 447, 67);

inline const Step kAboutGame = at("win", 168, 504);  // "O hře"
inline const Step kCreditsOk = at("about", 296, 504);

// Long enough for every arrival sound (20 or 100 ms after a scene loads) to have played.
inline const Step kSettle = pause(200);
inline constexpr std::uint64_t kArrestDelay = 18500;

// The twelve scenes of play in the order the final screen closes them.
inline const std::vector<std::string> kPlayScenes = {
    "Inventář", "Vila", "doma", "Banka",    "black", "Brown",
    "green",    "Mapa", "pes",  "Rozmluva", "Sklad", "velitelství"};

// The states of one game, each reached from the main menu by the clicks a player makes.
namespace route {
inline const Path arrivingHome = {kNewGame, kStartGame};
inline const Path home = arrivingHome + kSettle;
inline const Path answered = home + kTelephone;
inline const Path map = answered + kHomeDoor;
inline const Path warehouse = map + Path{kMapHeadquarters, kToWarehouse};
inline const Path brown = map + Path{kMapHeadquarters, kToBrown, kSettle};
inline const Path brownToldByHead = brown + kBrownHead;
inline const Path brownToldByLegs = brown + kBrownLegs;
inline const Path brownRead = brownToldByHead + kBox;
inline const Path armed = brownRead + Path{kBrownRightEdge, kPistolCrate, kDeviceCrateTop};
inline const Path shop = armed + Path{kWarehouseExit, kMapShop, kSettle};
inline const Path conversation = shop + kGreenHead;
inline const Path meatBought = conversation + kBuyMeat;
inline const Path askedOpen = meatBought + kAskForBlack;
inline const Path asked = askedOpen + kGoodbye;
inline const Path bank = asked + Path{kShopExit, kMapBank};
inline const Path refused = bank + kClerk;
inline const Path directoryOpen = refused + Path{kBankExit, kMapHome};
inline const Path numberFound = directoryOpen + kDirectory;
inline const Path called = numberFound + kTelephone;
inline const Path told = called + Path{kHomeDoor, kMapBank, kClerk};
inline const Path villa = told + Path{kBankExit, kMapVilla};
inline const Path planted = villa + kCarBody;
inline const Path nextDay = planted + kDevice;
inline const Path dog = nextDay + kVillaDoor;
inline const Path growled = dog + kDogBody;
inline const Path fed = growled + kMeat;
inline const Path hideout = fed + Path{kDogDoor, kSettle};
inline const Path greeted = hideout + kMrBlack;
inline const Path cassetteUsed = greeted + kCassette;
inline const Path arrest = cassetteUsed + kPistol;

// From the map to the villa without a visit to the warehouse, then from the night to Mr. Black
// silenced: where the items may be taken is what some tests vary.
inline const Path mapToVillaUnarmed = {
    kMapHeadquarters, kToBrown,  kSettle,    kBrownHead, kBox,         kBrownLeftEdge,
    kMapShop,         kSettle,   kGreenHead, kBuyMeat,   kAskForBlack, kGoodbye,
    kShopExit,        kMapBank,  kClerk,     kBankExit,  kMapHome,     kDirectory,
    kTelephone,       kHomeDoor, kMapBank,   kClerk,     kBankExit,    kMapVilla};
inline const Path villaUnarmed = map + mapToVillaUnarmed;
inline const Path nightToSilence = {kDevice,  kVillaDoor, kDogBody, kMeat,
                                    kDogDoor, kSettle,    kMrBlack, kCassette};
}  // namespace route

// Every flag of every loaded scene, as "scene.control.Visible" and "scene.control.Enabled".
using Flags = std::map<std::string, bool>;
Flags flagsOf(const TestGame& game);
std::set<std::string> loadedScenes(const TestGame& game);

// Everything a click could change.
struct GameState {
    Flags flags;
    std::vector<std::string> windows;
    std::size_t sounds = 0, messages = 0, urls = 0;
    bool ended = false;
    friend bool operator==(const GameState&, const GameState&) = default;
};
GameState stateOf(const TestGame& game);

struct Message {
    std::string title, text;
    friend bool operator==(const Message&, const Message&) = default;
    friend void PrintTo(const Message& m, std::ostream* out) { *out << m.title << ": " << m.text; }
};
std::vector<Message> messagesOf(const TestGame& game, std::size_t first = 0);
inline const Message kDocuments{
    "DOKUMENTY",
    "Včera byl vykraden obchod Mr. Greena, je jisté, že to byl Mr. Black. Mr. Green ho ale "
    "sledoval a zjistil, kde se teď skrývá. Dostaň z Greena, kde se Black skrývá."};
inline const Message kNextDay{"Další den", "Počkal jsi do dalšího dne"};
inline const Message kDocumentsInEnglish{
    "DOCUMENTS",
    "Yesterday Mr. Green's shop was robbed, and it was surely Mr. Black. But Mr. Green followed "
    "him and found out where he is hiding now. Get Green to tell you where Black is hiding."};
inline const Message kNextDayInEnglish{"The Next Day", "You waited until the next day."};

// Steps, also given as one.
struct Steps : Path {
    Steps(Path path) : Path(std::move(path)) {}
    Steps(Step step) : Path{std::move(step)} {}
};

// One step of a game and all it must do. Only what is named may change: no other flag of a
// loaded scene, no scene loaded or unloaded, no other window in front, no message, no link.
struct Expect {
    std::string what;
    Steps steps;  // the last one is checked; those before it lead there
    // The clips it plays, comma-separated: "telefon" is zvuky/telefon.wav.
    std::string sounds = {};
    // Values after the step, "scene.control=0" or "=1", space-separated: Visible of a picture
    // box or label, Enabled of a hotspot, ticking of a timer.
    std::string flags = {};
    // The front window after the step, "+scene" loaded, "-scene" unloaded, space-separated.
    std::string windows = {};
    std::optional<Message> message = {};
};
// Plays the steps on the game and checks the last.
void expectStep(TestGame& game, const Expect& e);
// Each row on a fresh game from the main menu.
void expectRows(const std::vector<Expect>& rows);

}  // namespace orval::testing
