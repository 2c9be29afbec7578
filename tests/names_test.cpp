// The names of the things: the name line under the resting pointer, where it lies on every
// place at every scale and beside a clip's words, what a screen reader hears, L.
#include <cmath>

#include <SDL.h>

#include "scenes/model/focus.h"
#include "scenes/model/hit_test.h"
#include "scenes/model/names.h"
#include "shell/platform/sdl_events.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The contrast of two colours as the web's accessibility guidelines measure it (1 to 21).
double contrast(Colour a, Colour b) {
    const auto luminance = [](Colour c) {
        const auto channel = [](std::uint8_t v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Makes the control the one a pointer finds: it and its holders shown, it enabled, every
// other named thing of the scene out of the way.
void alone(TestGame& game, const std::string& scene, int control) {
    const SceneDescription& d = game.runtime->view().description(scene);
    for (const ControlDescription& c : d.controls)
        if (!c.called.empty() && c.kind != ControlKind::PictureBox)
            game.runtime->setEnabled(scene, c.name, false);
    for (int at = control; at >= 0; at = d.controls[static_cast<std::size_t>(at)].parent)
        game.runtime->setVisible(scene, d.controls[static_cast<std::size_t>(at)].name, true);
    game.runtime->setEnabled(scene, d.controls[static_cast<std::size_t>(control)].name, true);
}

TEST(NameLine, LiesInsideItsWindowOffTheThingAndTheWordsOnEveryPlaceAtEveryScale) {
    struct Row {
        const char* what;
        Rect screen;
        int scale;
        const char* language;
        bool words;  // a clip's words show meanwhile
    };
    const Row rows[] = {
        {"1x", {0, 0, 1280, 1024}, 1, "cs", false},
        {"2x, in English", {0, 0, 2560, 2048}, 2, "en", false},
        {"the stage's size, a clip's words below", {0, 0, 1280, 800}, 1, "cs", true},
        {"a low screen, the words over the window", {0, 0, 1280, 500}, 1, "en", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const SceneDescription& source : gameDescriptions()) {
            std::vector<int> named;
            for (std::size_t i = 0; i < source.controls.size(); ++i)
                if (!source.controls[i].called.empty() && !showsOwnWords(source.controls[i]))
                    named.push_back(static_cast<int>(i));
            if (named.empty()) continue;
            TestGame game(source.name, row.screen, row.scale, row.language);
            const std::string scene = source.name;
            const SceneDescription& d = game.runtime->view().description(scene);
            const WindowId window = *game.runtime->view().windowOf(scene);
            for (const int control : named) {
                const ControlDescription& c = d.controls[static_cast<std::size_t>(control)];
                SCOPED_TRACE(scene + " " + c.name);
                alone(game, scene, control);
                if (row.words) game.runtime->playSound("hlasatelka.wav");
                const std::optional<Point> point =
                    reachablePoint(d, game.runtime->view().flags(scene), control);
                ASSERT_TRUE(point);
                game.move(scene, point->x * game.platform.scale(),
                          point->y * game.platform.scale());
                game.pixel(scene, 0, 0);  // the window as the player sees it
                const auto shown = game.runtime->view().nameLine();
                ASSERT_TRUE(shown);
                EXPECT_EQ(shown->control, c.name);
                EXPECT_TRUE(shown->said.ends_with(c.called)) << shown->said;
                const Rect& plate = shown->place;
                EXPECT_EQ(intersect(plate, {0, 0, d.clientWidth, d.clientHeight}), plate);
                EXPECT_FALSE(overlaps(plate, visibleRect(d, control)));
                if (const std::optional<WindowId> words = game.platform.subtitleWindow()) {
                    const Rect at = game.platform.window(*words).placed;
                    const Rect place = game.platform.window(window).placed;
                    const int k = game.platform.scale();
                    const Rect over{(at.x - place.x) / k, (at.y - place.y) / k, at.w / k, at.h / k};
                    EXPECT_FALSE(overlaps(plate, over)) << "under the words";
                }
                // Read as the player reads it: its words against its plate.
                const Colour ground = game.pixel(scene, plate.x + 2, plate.y + 2);
                double best = 1;
                for (int y = plate.y + 1; y < plate.y + plate.h - 1; ++y)
                    for (int x = plate.x + 1; x < plate.x + plate.w - 1; ++x)
                        best = std::max(best, contrast(ground, game.pixel(scene, x, y)));
                EXPECT_GE(best, 7.0);
            }
        }
    }
}

TEST(NameLine, TheScreenReaderHearsNamesBoxesAndWordsAndLTurnsTheLineOff) {
    TestGame game("doma");
    game.wait(500);  // the telephone rings: its words are heard first
    const std::size_t before = game.platform.announcements().size();
    const auto heard = [&] {
        std::vector<std::string> said;
        for (std::size_t i = before; i < game.platform.announcements().size(); ++i) {
            const Announcement& a = game.platform.announcements()[i];
            said.push_back(std::to_string(static_cast<int>(a.kind)) + " " + a.text);
        }
        return said;
    };
    const auto kind = [](Announcement::Kind k, const std::string& text) {
        return std::to_string(static_cast<int>(k)) + " " + text;
    };
    game.move("doma", kTelephone.x, kTelephone.y);
    game.move("doma", kTelephone.x + 2, kTelephone.y);  // still on it: nothing more is said
    game.pixel("doma", 0, 0);
    EXPECT_TRUE(game.runtime->view().nameLine());
    game.pressKey(Key::L);
    game.pixel("doma", 0, 0);
    EXPECT_FALSE(game.runtime->view().nameLine()) << "L hides it";
    game.pressKey(Key::L);
    game.pixel("doma", 0, 0);
    EXPECT_TRUE(game.runtime->view().nameLine()) << "and brings it back";
    game.move("doma", 4, 4);  // off every thing
    game.pixel("doma", 0, 0);
    EXPECT_FALSE(game.runtime->view().nameLine());
    game.click("doma", kTelephone.x, kTelephone.y);  // the announcer's words come up
    game.wait(4000);
    const std::vector<std::string> said = heard();
    using enum Announcement::Kind;
    ASSERT_GE(said.size(), 5u);
    EXPECT_EQ(said[0], kind(NameLine, "Použít: telefon"));
    EXPECT_EQ(said[1], kind(NameLine, ""));
    EXPECT_EQ(said[2], kind(NameLine, "Použít: telefon"));
    // Each cue once, as it comes up: a sound's words alone, a speaker's with the name.
    std::vector<std::string> cues;
    for (const std::string& line : said)
        if (line.starts_with(kind(Subtitle, ""))) cues.push_back(line.substr(2));
    ASSERT_GE(cues.size(), 2u);
    EXPECT_EQ(cues[0], "[cvak]");
    EXPECT_TRUE(std::any_of(cues.begin(), cues.end(), [](const std::string& cue) {
        return cue.starts_with("Hlasatelka: ");
    }));
    EXPECT_EQ(std::set<std::string>(cues.begin(), cues.end()).size(), cues.size()) << "once";

    TestGame menu("ORVAL", {0, 0, 1280, 1024}, 1, "en");
    menu.clickControl("ORVAL", "Picture7");  // the card of the controls
    menu.move("ORVAL", kNewGame.x, kNewGame.y);
    std::vector<std::string> menuSaid;
    for (const Announcement& a : menu.platform.announcements()) {
        menuSaid.push_back(kind(a.kind, a.text));
        EXPECT_EQ(a.language, "en");
    }
    EXPECT_NE(std::find(menuSaid.begin(), menuSaid.end(), kind(MessageBox, "Controls")),
              menuSaid.end());
    EXPECT_EQ(menuSaid.back(), kind(MenuEntry, "New game")) << "an entry is heard by its words";
}

}  // namespace
}  // namespace orval::testing

namespace orval::testing {
namespace {

// A finger put down on a pixel of the scene's window (screen pixels) and lifted `heldMs` later.
void tap(TestGame& game, std::string_view scene, int x, int y, std::uint64_t heldMs = 50) {
    const WindowId window = *game.runtime->view().windowOf(scene);
    const std::uint64_t now = game.platform.now();
    game.platform.queue({.type = InputEvent::Type::TouchDown, .window = window, .x = x, .y = y},
                        now);
    game.platform.queue({.type = InputEvent::Type::TouchUp, .window = window, .x = x, .y = y},
                        now + heldMs);
    game.wait(heldMs);
}

TEST(Touch, AFirstTapNamesASecondActsWordsActAtOnceAHeldFingerShowsTheHotspots) {
    struct Row {
        const char* what;
        const char* scene;
        std::vector<Step> taps;
        std::optional<std::string> named;  // the thing the name line names after them
        bool acted;                        // the telephone answered, the door opened, the game ended
    };
    const Step besideTheX = at("doma", 806, 24);  // 8 pixels from the "X", 9 x 17 at (808, 0)
    const Step nowhere = at("doma", 300, 446);    // the strip below the picture
    const Row rows[] = {
        {"a first tap on the telephone names it, and it does not answer", "doma", {kTelephone},
         "Image4", false},
        {"a second tap on it answers", "doma", {kTelephone, kTelephone}, std::nullopt, true},
        {"a tap on another thing names that one instead", "doma", {kTelephone, kTelevision},
         "Image5", false},
        {"and the second tap on the telephone does not answer then", "doma",
         {kTelephone, kTelevision, kTelephone}, "Image4", false},
        {"a tap beside the small X reaches it, and only names it", "doma", {besideTheX},
         "Label1", false},
        {"the second tap there quits", "doma", {besideTheX, besideTheX}, "Label1", true},
        {"a tap on nothing takes the name away", "doma", {kTelephone, nowhere}, std::nullopt,
         false},
        {"a button with its own words acts at the first tap", "Příběh", {kStartGame}, std::nullopt,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TestGame game(row.scene);
        game.wait(500);  // the telephone rings first
        game.takeSounds();
        for (const Step& step : row.taps) tap(game, step.scene, step.x, step.y);
        const bool acted = game.ended() || (row.scene == std::string("doma")
                                                ? game.enabled("doma", "Image3")
                                                : game.loaded("doma"));
        EXPECT_EQ(acted, row.acted);
        if (!game.ended()) {
            EXPECT_EQ(game.runtime->view().named(), row.named);
        }
        if (!row.acted) {
            EXPECT_TRUE(game.takeSounds().empty()) << "a tap that names plays nothing";
        }
        if (row.named && !row.acted) {
            EXPECT_TRUE(game.runtime->view().focusMark()) << "the ring stands on it";
            game.pixel(row.scene, 0, 0);
            EXPECT_TRUE(game.runtime->view().nameLine());
        }
    }
}

TEST(Touch, AFingerHeldStillShowsEveryHotspotUntilLiftedAndDoesNothingElse) {
    TestGame game("doma");
    game.wait(500);
    game.takeSounds();
    const WindowId window = *game.runtime->view().windowOf("doma");
    const Rect all{0, 0, 822, 454};
    const Colour kMark{255, 225, 77};
    const int before = countColour(game.platform.pixels(window), all, kMark);
    const std::uint64_t now = game.platform.now();
    game.platform.queue({.type = InputEvent::Type::TouchDown, .window = window, .x = kTelephone.x,
                         .y = kTelephone.y},
                        now);
    game.wait(450);
    EXPECT_EQ(countColour(game.platform.pixels(window), all, kMark), before) << "not yet";
    game.wait(100);
    EXPECT_GT(countColour(game.platform.pixels(window), all, kMark), before + 100);
    game.platform.queue({.type = InputEvent::Type::TouchUp, .window = window, .x = kTelephone.x,
                         .y = kTelephone.y});
    game.wait(0);
    EXPECT_EQ(countColour(game.platform.pixels(window), all, kMark), before) << "lifted";
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_FALSE(game.runtime->view().named()) << "a finger that looked names nothing";
}

TEST(Touch, TheMouseEventsSdlMakesOfAFingerNeverArrive) {
    for (const Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.which = SDL_TOUCH_MOUSEID;  // motion's `which` lies where the button's does
        EXPECT_EQ(readDeviceEvent(event).kind, DeviceEvent::Kind::Nothing) << type;
        event.button.which = 0;
        EXPECT_EQ(readDeviceEvent(event).kind, DeviceEvent::Kind::Input) << "the mouse's own";
    }
    SDL_Event made{};
    made.type = SDL_FINGERDOWN;
    made.tfinger.touchId = SDL_MOUSE_TOUCHID;  // a touch SDL makes of the mouse
    EXPECT_EQ(readDeviceEvent(made).kind, DeviceEvent::Kind::Nothing);
}

}  // namespace
}  // namespace orval::testing
