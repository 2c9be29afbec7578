// The scene runtime: loading on first use, showing without reloading, unloading (also of the
// scene whose handler or timer is running), End, the end when no scene is left, fatal errors
// and timers.
#include "shell/timers.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

using Names = std::vector<std::string>;

// The game's descriptions with one event of one control (or, without one, of the scene) bound to
// test code instead, on a new
// runtime that shows `first` as the program does at start.
void rebind(TestGame& game, std::string_view scene, std::string_view control, EventKind event,
            Handler code, std::string_view first) {
    std::vector<SceneDescription> scenes = gameDescriptions();
    for (SceneDescription& s : scenes) {
        if (s.name != scene) continue;
        auto& handlers = control.empty()
                             ? s.handlers  // the scene's own event
                             : s.controls.at(static_cast<std::size_t>(s.find(control))).handlers;
        handlers[event] = "Test_Code";
    }
    game.handlers.add(scene, "Test_Code", code);
    game.runtime =
        std::make_unique<Runtime>(game.platform, sourceDir(), game.handlers, std::move(scenes));
    game.runtime->show(first);
    game.runtime->runFor(0);
}

TEST(Runtime, ShowingALoadedSceneKeepsItsStateAndWindow) {
    TestGame game("doma");
    game.wait(150);
    EXPECT_EQ(game.takeSounds(), Names{"zvuky/telefon.wav"});
    game.clickAt("doma", "Image4", 10, 10);  // the call: the door opens
    const WindowId window = *game.runtime->view().windowOf("doma");

    game.clickAt("doma", "Image3", 50, 50);  // out to the map
    EXPECT_EQ(game.windows(), (Names{"Mapa", "doma"}));
    game.clickAt("Mapa", "Image2", 10, 10);  // home again
    EXPECT_EQ(game.windows(), (Names{"doma", "Mapa"}));
    EXPECT_EQ(*game.runtime->view().windowOf("doma"), window);
    EXPECT_TRUE(game.enabled("doma", "Image3"));
    EXPECT_FALSE(game.enabled("doma", "Image4"));
    EXPECT_FALSE(game.enabled("doma", "Timer1"));
    // The telephone does not ring again: its timer did not start anew.
    game.takeSounds();
    game.wait(1000);
    EXPECT_TRUE(game.takeSounds().empty());
}

TEST(Runtime, ShowingALoadedSceneRaisesNoLoadEvent) {
    TestGame game("win");
    // The final screen's Load unloads the inventory; a second Show must not do it again.
    game.runtime->show("Inventář");
    const WindowId window = *game.runtime->view().windowOf("win");
    game.runtime->show("win");
    game.wait(0);
    EXPECT_TRUE(game.loaded("Inventář"));
    EXPECT_EQ(*game.runtime->view().windowOf("win"), window);
    EXPECT_EQ(game.windows(), (Names{"win", "Inventář"}));
}

TEST(Runtime, ChangingAControlOfAnUnloadedSceneLoadsItHidden) {
    TestGame game("Banka");
    EXPECT_FALSE(game.loaded("doma"));
    game.clickAt("Banka", "Image3", 20, 20);  // the clerk: the directory at home becomes usable
    EXPECT_EQ(game.takeSounds(), Names{"zvuky/no money.wav"});
    EXPECT_TRUE(game.loaded("doma"));
    EXPECT_EQ(game.windows(), Names{"Banka"});
    EXPECT_FALSE(game.platform.window(*game.runtime->view().windowOf("doma")).visible);
    EXPECT_TRUE(game.enabled("doma", "Image2"));

    // Its timers run although nobody sees it: the telephone rings 100 ms after the load.
    game.wait(99);
    EXPECT_TRUE(game.takeSounds().empty());
    game.wait(2);
    EXPECT_EQ(game.takeSounds(), Names{"zvuky/telefon.wav"});

    // Shown later, it shows what was set on it.
    game.runtime->show("doma");
    EXPECT_EQ(game.windows(), (Names{"doma", "Banka"}));
    EXPECT_TRUE(game.enabled("doma", "Image2"));
}

TEST(Runtime, ReadingAControlOfAnUnloadedSceneLoadsItHidden) {
    TestGame game;
    EXPECT_FALSE(game.runtime->isVisible("Inventář", "Picture2"));
    EXPECT_TRUE(game.loaded("Inventář"));
    EXPECT_EQ(game.windows(), Names{"ORVAL"});
}

TEST(Runtime, UnloadingASceneThatIsNotLoadedDoesNothing) {
    // The final screen's Load unloads the twelve scenes of play, none of which is loaded here:
    // none is loaded to be unloaded, only the final screen's own window opens.
    TestGame game("win");
    EXPECT_EQ(game.windowsOpened(), 1);
    EXPECT_EQ(loadedScenes(game), std::set<std::string>{"win"});
    game.runtime->unload("doma");
    game.wait(0);
    EXPECT_EQ(game.windowsOpened(), 1);
    EXPECT_EQ(game.windows(), Names{"win"});
    EXPECT_FALSE(game.ended());
}

TEST(Runtime, ASceneUnloadedByItsOwnHandlerFinishesTheHandler) {
    TestGame game("green");
    game.clickAt("green", "Image7", 20, 20);     // Mr. Green: the conversation opens
    game.clickAt("Rozmluva", "Image1", 10, 10);  // the meat: the question appears
    EXPECT_TRUE(game.visible("Rozmluva", "Label3"));
    game.takeSounds();

    game.clickControl("Rozmluva", "Label4");  // "Tak teda naschle"
    EXPECT_FALSE(game.loaded("Rozmluva"));
    EXPECT_EQ(game.takeSounds(), Names{"zvuky/naschle.wav"});
    EXPECT_EQ(game.windows(), Names{"green"});
    EXPECT_FALSE(game.ended());

    // Shown again, it starts from its description.
    game.clickAt("green", "Image7", 20, 20);
    EXPECT_FALSE(game.visible("Rozmluva", "Label3"));
    EXPECT_FALSE(game.enabled("Rozmluva", "Image3"));
    EXPECT_TRUE(game.enabled("Rozmluva", "Image1"));
}

// The pistol, owned and usable, as the last steps of a game leave it, then used.
void shoot(TestGame& game) {
    game.runtime->setVisible("Inventář", "Picture2", true);
    game.runtime->setEnabled("Inventář", "Image1", true);
    game.clickAt("Inventář", "Image1", 20, 20);
}

TEST(Runtime, ASceneUnloadedDuringItsOwnTimerTick) {
    TestGame game("doma");
    game.runtime->show("Mapa");
    game.runtime->show("Inventář");
    shoot(game);
    EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
    game.wait(kArrestDelay - 1);
    EXPECT_FALSE(game.loaded("win"));
    game.wait(2);
    // Timer1's handler shows the final screen, whose Load unloads the inventory itself.
    EXPECT_EQ(game.windows(), Names{"win"});
    for (const std::string& scene : kPlayScenes) EXPECT_FALSE(game.loaded(scene)) << scene;
    EXPECT_FALSE(game.ended());
    EXPECT_EQ(game.runtime->view().fatalMessage(), "");
    game.wait(60000);
    EXPECT_EQ(game.windows(), Names{"win"});
    EXPECT_FALSE(game.ended());
}

TEST(Runtime, EnablingATickingTimerDoesNotRestartIt) {
    TestGame game("Inventář");
    shoot(game);
    game.wait(10000);
    game.clickAt("Inventář", "Image1", 20, 20);  // the pistol a second time
    EXPECT_EQ(game.takeSounds(), (Names{"zvuky/zatčení.wav", "zvuky/zatčení.wav"}));
    game.wait(8499);
    EXPECT_FALSE(game.loaded("win"));
    game.wait(2);
    EXPECT_EQ(game.windows(), Names{"win"});
}

// Each entry sound comes exactly its timer's interval after the scene opens, and only once.
TEST(Runtime, TimersTickExactlyTheirIntervalAfterTheLoad) {
    struct Row {
        const char* scene;
        std::uint64_t interval;
        const char* sound;
    };
    for (const Row row :
         {Row{"doma", 100, "zvuky/telefon.wav"}, Row{"Brown", 100, "zvuky/průser.wav"},
          Row{"green", 20, "zvuky/přání.wav"}, Row{"black", 20, "zvuky/setkání.wav"}}) {
        SCOPED_TRACE(row.scene);
        TestGame game(row.scene);
        game.wait(row.interval - 1);
        EXPECT_TRUE(game.takeSounds().empty());
        game.wait(1);
        EXPECT_EQ(game.takeSounds(), Names{row.sound});
        EXPECT_FALSE(game.enabled(row.scene, "Timer1"));
        game.wait(10 * row.interval);
        EXPECT_TRUE(game.takeSounds().empty());
    }
}

// The countdowns on their own: timers due together fire in scene and control order, a late tick
// counts the next one from now, a restart keeps the countdown, a scene's unload stops its own.
TEST(Runtime, TimersFireInOrderAndCountOnFromTheirTick) {
    Timers timers;
    timers.start({2, 0}, 100, 0);
    timers.start({1, 5}, 100, 0);
    timers.start({1, 3}, 50, 50);
    timers.start({1, 3}, 10, 90);  // already ticking: it keeps its countdown
    timers.start({3, 0}, 20, 0);
    timers.stopScene(3);
    EXPECT_EQ(timers.next(), 100u);
    EXPECT_EQ(timers.takeDue(99), std::nullopt);
    std::vector<TimerId> fired;
    while (const std::optional<TimerId> due = timers.takeDue(100)) fired.push_back(*due);
    EXPECT_EQ(fired, (std::vector<TimerId>{{1, 3}, {1, 5}, {2, 0}}));
    EXPECT_EQ(timers.next(), 150u);  // each counted on from its deadline
    EXPECT_EQ(timers.takeDue(5000), (TimerId{1, 3}));
    EXPECT_EQ(timers.next(), 200u);  // the others, still due
    timers.stop({1, 5});
    timers.stop({2, 0});
    EXPECT_EQ(timers.next(), 5050u);  // the late one: from now, no burst
    EXPECT_FALSE(timers.ticking({1, 5}));
    EXPECT_TRUE(timers.ticking({1, 3}));
}

int ticks = 0;

TEST(Runtime, ATimerHeldUpByAMessageBoxTicksOnceAfterItAndThenOnTime) {
    TestGame game;
    ticks = 0;
    // A 20 ms timer that keeps ticking, and the listening device's box read for five seconds.
    rebind(
        game, "green", "Timer1", EventKind::Timer, [](Game&) { ++ticks; }, "green");
    game.runtime->setVisible("Inventář", "Picture3", true);
    game.runtime->setEnabled("Inventář", "Image2", true);
    game.runtime->show("Inventář");
    game.wait(100);
    EXPECT_EQ(ticks, 5);
    game.platform.setReadingTime(5000);
    play(game, kDevice);
    game.wait(5000);  // the box is read
    EXPECT_EQ(messagesOf(game), std::vector<Message>{kNextDay});
    EXPECT_EQ(game.platform.now(), 5100u);
    EXPECT_EQ(ticks, 6);  // no tick while the box was open, one late tick after it, no burst
    game.wait(19);
    EXPECT_EQ(ticks, 6);
    game.wait(1);
    EXPECT_EQ(ticks, 7);
}

// A page's loop: each of the browser's frames (16 ms apart) handles all that has come and is
// due, never waiting inside the game.
void frames(TestGame& game, std::uint64_t ms) {
    const std::uint64_t end = game.platform.now() + ms;
    while (true) {
        const std::uint64_t now = game.platform.now();
        while (game.runtime->step(now)) {
        }
        if (now >= end) return;
        game.platform.restUntil(std::min(now + 16, end));
    }
}

// A page fetches the places' pictures once the menu shows: meanwhile the menu answers the
// pointer, and a click on NOVÁ HRA is kept until they have come and been checked, then acts.
TEST(Runtime, AClickBeforeThePlacesHaveComeActsOnceTheyHave) {
    HeadlessPlatform platform({0, 0, 1280, 1024}, 1);
    platform.holdData(true);
    Runtime runtime(platform, sourceDir(), gameHandlers(), gameDescriptions());
    const RuntimeReader reader(runtime);
    platform.readWith(&reader);
    runtime.start();
    const auto frame = [&] {
        while (runtime.step(platform.now())) {
        }
    };
    frame();
    const WindowId menu = *runtime.view().windowOf("ORVAL");
    platform.queue({InputEvent::Type::MouseMove, menu, kNewGame.x, kNewGame.y});
    platform.queue({InputEvent::Type::MouseDown, menu, kNewGame.x, kNewGame.y});
    platform.queue({InputEvent::Type::MouseUp, menu, kNewGame.x, kNewGame.y});
    frame();
    EXPECT_TRUE(runtime.view().named()) << "the entry under the pointer is answered at once";
    EXPECT_FALSE(runtime.view().isLoaded("Příběh")) << "the click waits for the places";
    platform.holdData(false);
    frame();
    EXPECT_TRUE(runtime.view().isLoaded("Příběh"));
}

// A place's picture not there when the menu shows (a page's places still coming) is passed
// over then, and fatal, named, if it is still missing once they have come.
TEST(Runtime, APlacesPictureStillMissingWhenThePlacesHaveComeIsFatalNamingIt) {
    TempDir temp;
    copyData(temp.path());
    fs::remove(temp.path() / "data" / "pictures" / "villa.png");
    HeadlessPlatform platform({0, 0, 1280, 1024}, 1);
    platform.holdData(true);
    Runtime runtime(platform, temp.path(), gameHandlers(), {});
    const RuntimeReader reader(runtime);
    platform.readWith(&reader);
    runtime.start();
    while (runtime.step(platform.now())) {
    }
    EXPECT_TRUE(runtime.view().isLoaded("ORVAL"));
    EXPECT_TRUE(platform.messages().empty());
    platform.holdData(false);
    while (runtime.step(platform.now())) {
    }
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_TRUE(mentions(platform.messages()[0].text, "vila.toml"));
    EXPECT_TRUE(mentions(platform.messages()[0].text, "villa.png"));
}

// Two boxes and a sound after each, in one handler: each waits for the box before it.
void ReadTwice(Game& game) {
    game.messageBox("documents");
    game.playSound("dokumenty.wav");
    game.messageBox("next day");
    game.playSound("důkazy.wav");
}

// The steps of a handler after its box run once the box is answered, in order, whether the game
// is stepped a frame at a time (a page) or waits inside each step (a desktop); nothing of them
// runs while the box is open, and timers wait for it as before.
TEST(Runtime, AHandlersStepsAfterItsBoxRunWhenTheBoxIsAnswered) {
    struct Row {
        const char* name;
        const char* first;  // a scene whose timer is done or has none
        std::function<void(TestGame&)> reachTheBox;
        std::vector<Message> boxes;
        std::function<bool(TestGame&)> afterTheBoxes;  // false before the last box is answered
        Names sounds;
    };
    const std::vector<Row> rows = {
        {"the documents at Mr. Brown's",
         "Brown",
         [](TestGame& game) {
             game.runtime->show("Mapa");
             game.runtime->show("Brown");
             play(game, Path{kSettle, kBrownHead});
             game.takeSounds();
             play(game, kBox);
         },
         {kDocuments},
         [](TestGame& game) {
             return game.enabled("Mapa", "Image3") && !game.enabled("Brown", "Image5");
         },
         {}},
        {"the listening device in the car",
         "Inventář",
         [](TestGame& game) {
             game.runtime->setVisible("Inventář", "Picture3", true);
             game.runtime->setEnabled("Inventář", "Image2", true);
             game.runtime->show("Inventář");
             play(game, kDevice);
         },
         {kNextDay},
         [](TestGame& game) {
             return game.visible("Inventář", "Picture6") && !game.visible("Inventář", "Picture3");
         },
         {"zvuky/důkazy.wav"}},
        {"two boxes in one handler",
         "Mapa",
         [](TestGame& game) {
             rebind(game, "Mapa", "Image2", EventKind::Click, ReadTwice, "Mapa");
             game.platform.setReadingTime(1000);
             game.clickAt("Mapa", "Image2", 5, 5);
             frames(game, 500);
             EXPECT_TRUE(game.takeSounds().empty());
             frames(game, 1000);  // the first answered, the second open
             EXPECT_EQ(game.takeSounds(), Names{"zvuky/dokumenty.wav"});
         },
         {kDocuments, kNextDay},
         [](TestGame&) { return true; },
         {"zvuky/důkazy.wav"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const bool byFrames : {true, false}) {
            SCOPED_TRACE(byFrames ? "a frame at a time" : "waiting inside each step");
            TestGame game(row.first);
            game.platform.setReadingTime(1000);
            row.reachTheBox(game);
            const std::size_t last = row.boxes.size() - 1;
            const std::uint64_t opened = game.platform.messages().back().at;
            EXPECT_NE(game.runtime->view().openBox(), nullptr);
            EXPECT_TRUE(game.takeSounds().empty());
            if (row.boxes.size() == 1) {
                EXPECT_FALSE(row.afterTheBoxes(game));
            }
            if (byFrames)
                frames(game, opened + 1100 - game.platform.now());
            else
                game.wait(opened + 1100 - game.platform.now());
            EXPECT_EQ(game.runtime->view().openBox(), nullptr);
            EXPECT_EQ(messagesOf(game), row.boxes);
            EXPECT_EQ(game.platform.messages()[last].at, opened);
            EXPECT_TRUE(row.afterTheBoxes(game));
            EXPECT_EQ(game.takeSounds(), row.sounds);
            EXPECT_FALSE(game.ended());
        }
    }
}

// A page at rest costs nothing: with the start-up done and nothing ticking, the game has nothing
// due until input comes; a ticking timer is due exactly when it ticks.
TEST(Runtime, NothingIsDueAtRestUntilATimerTicks) {
    TestGame game;
    EXPECT_EQ(game.runtime->nextDue(), std::nullopt);
    game.runtime->show("doma");  // the telephone rings 100 ms after
    EXPECT_EQ(game.runtime->nextDue(), game.platform.now() + 100);
    frames(game, 100);
    EXPECT_EQ(game.takeSounds(), Names{"zvuky/telefon.wav"});
}

TEST(Runtime, ASceneUnloadedByItsOwnLoadHandlerIsAFatalErrorNotACrash) {
    TestGame game;
    rebind(
        game, "Příběh", "", EventKind::Load, [](Game& g) { g.unload("Příběh"); }, "ORVAL");
    play(game, kNewGame);  // shows the briefing, whose Load unloads it again
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->view().exitStatus(), 1);
    EXPECT_TRUE(mentions(game.runtime->view().fatalMessage(), "Příběh"));
    EXPECT_TRUE(game.platform.visibleWindows().empty());
}

// The box the game draws itself: title, text wrapped inside it, and OK where the platform is told.
TEST(Runtime, TheMessageBoxShowsItsTitleItsWrappedTextAndItsOkButton) {
    TestGame game("Brown");
    game.platform.keepMessagePixels();
    play(game, Path{kSettle, kBrownHead, kBox});
    ASSERT_EQ(messagesOf(game), std::vector<Message>{kDocuments});
    const HeadlessPlatform::Message& box = game.platform.messages()[0];
    ASSERT_TRUE(box.pixels);
    const Canvas& pixels = *box.pixels;
    const Rect ok = box.okButton;
    const Colour white{255, 255, 255}, black{0, 0, 0}, face{225, 225, 225}, ground{240, 240, 240};
    // The title in white on the blue bar.
    EXPECT_GT(countColour(pixels, {0, 0, pixels.width(), 25}, white), 100);
    // The text: black letters on several lines, all left of the right margin and above OK.
    const Rect textArea{62, 25, pixels.width() - 62 - 12, ok.y - 25};
    int lines = 0;
    bool inLine = false;
    for (int y = textArea.y; y < textArea.y + textArea.h; ++y) {
        const bool ink = countColour(pixels, {textArea.x, y, textArea.w, 1}, black) > 0;
        lines += ink && !inLine;
        inLine = ink;
    }
    EXPECT_GE(lines, 3);
    EXPECT_EQ(countColour(pixels, {0, 25, textArea.x, ok.y - 25}, black), 0);
    EXPECT_EQ(countColour(pixels, {textArea.x + textArea.w, 25, 12, ok.y - 25}, black), 0);
    // OK: a button face with its caption exactly where the platform was told, box ground around.
    EXPECT_GT(countColour(pixels, ok, face), ok.w * ok.h / 2);
    EXPECT_GT(countColour(pixels, {ok.x + ok.w / 4, ok.y + 4, ok.w / 2, ok.h - 8}, black), 10);
    EXPECT_EQ(pixels.pixel(ok.x - 2, ok.y + ok.h / 2), ground);
    EXPECT_EQ(pixels.pixel(ok.x + ok.w + 1, ok.y + ok.h / 2), ground);
    EXPECT_EQ(pixels.pixel(ok.x + ok.w / 2, ok.y - 2), ground);
    // The player pressed there, and the box closed.
    EXPECT_EQ(game.windows(), (Names{"Brown"}));
}

TEST(Runtime, ADisabledTimerNeverTicks) {
    TestGame game("Inventář");
    game.wait(100000);
    EXPECT_EQ(game.windows(), Names{"Inventář"});
}

int stepsAfterEnd = 0;

TEST(Runtime, EndStopsTheHandlerAndClosesEveryWindow) {
    TestGame game;
    rebind(
        game, "ORVAL", "Picture6", EventKind::Click,
        [](Game& g) {
            g.playSound("před.wav");
            g.end();
            ++stepsAfterEnd;
            g.playSound("po.wav");
            g.show("about");
        },
        "ORVAL");
    game.runtime->show("Příběh");
    game.runtime->show("Inventář");
    game.click("ORVAL", 250, 180);  // KONEC
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->view().exitStatus(), 0);
    EXPECT_EQ(game.takeSounds(), Names{"zvuky/před.wav"});
    EXPECT_EQ(stepsAfterEnd, 0);
    EXPECT_TRUE(game.platform.visibleWindows().empty());
    EXPECT_TRUE(loadedScenes(game).empty());
}

TEST(Runtime, TheProgramEndsWhenTheLastSceneIsUnloaded) {
    TestGame game("win");
    game.clickControl("win", "Image1");  // "O hře": the credits replace the final screen
    EXPECT_EQ(game.windows(), Names{"about"});
    EXPECT_FALSE(game.ended());
    game.clickControl("about", "Image1");  // OK
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(game.runtime->view().exitStatus(), 0);
    EXPECT_TRUE(game.platform.visibleWindows().empty());
}

TEST(Runtime, AWindowManagerCloseRequestEndsTheGame) {
    for (const auto& [first, closed] : {std::pair{"ORVAL", "ORVAL"}, std::pair{"doma", "Inventář"},
                                        std::pair{"about", "about"}}) {
        SCOPED_TRACE(closed);
        TestGame game(first);
        game.runtime->show(closed);
        game.wait(0);
        game.closeWindow(closed);
        EXPECT_TRUE(game.ended());
        EXPECT_EQ(game.runtime->view().exitStatus(), 0);
        EXPECT_TRUE(game.platform.visibleWindows().empty());
    }
}

TEST(Runtime, AHandlerFailureIsFatalAndNamesWhatIsWrong) {
    struct Row {
        const char* what;
        Handler code;
        Names words;
    };
    const Row rows[] = {
        {"showing a scene that does not exist",
         [](Game& g) { g.show("Neexistující"); },
         {"Neexistující"}},
        {"unloading a scene that does not exist", [](Game& g) { g.unload("Sklep"); }, {"Sklep"}},
        {"a control that does not exist",
         [](Game& g) { g.setVisible("doma", "Picture9", true); },
         {"doma", "Picture9"}},
        {"reading a control that does not exist",
         [](Game& g) { (void)g.isVisible("Inventář", "Picture7"); },
         {"Inventář", "Picture7"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TestGame game;
        rebind(game, "ORVAL", "Picture6", EventKind::Click, row.code, "ORVAL");
        game.click("ORVAL", 250, 180);
        EXPECT_TRUE(game.ended());
        EXPECT_EQ(game.runtime->view().exitStatus(), 1);
        for (const std::string& word : row.words)
            EXPECT_TRUE(mentions(game.runtime->view().fatalMessage(), word));
        EXPECT_TRUE(game.platform.visibleWindows().empty());
    }
}

// Without a font the game cannot draw its own box: the window system's plain one shows the error.
TEST(Runtime, WithoutAFontTheFatalErrorIsShownInThePlainBox) {
#if defined(_WIN32) || defined(__EMSCRIPTEN__)
    GTEST_SKIP() << "no fontconfig here; the font lies beside the program";
#endif
    TempDir temp;
    writeFile(temp.path() / "fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    const ScopedEnv noFonts("FONTCONFIG_FILE", (temp.path() / "fonts.conf").string());
    HeadlessPlatform platform;
    Runtime runtime(platform, sourceDir(), gameHandlers(), gameDescriptions());
    EXPECT_EQ(runtime.run(), 1);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_TRUE(platform.messages()[0].plain);
    EXPECT_TRUE(mentions(platform.messages()[0].text, "fonts-liberation2"));
    EXPECT_TRUE(platform.visibleWindows().empty());
}

TEST(Runtime, TheProgramReportsAFatalErrorAndExitsWithStatusOne) {
    // A timer handler that shows an unknown scene, run by the program's own loop.
    TestGame game;
    rebind(
        game, "doma", "Timer1", EventKind::Timer, [](Game& g) { g.show("Neexistující"); }, "ORVAL");
    EXPECT_EQ(game.runtime->run("doma"), 1);
    // The error box comes after every scene window has closed.
    ASSERT_EQ(game.platform.messages().size(), 1u);
    EXPECT_EQ(game.platform.messages()[0].title, "ORVAL KESK – chyba");
    EXPECT_FALSE(game.platform.messages()[0].plain);
    EXPECT_TRUE(mentions(game.platform.messages()[0].text, "Neexistující"));
    EXPECT_EQ(game.platform.messages()[0].text, game.runtime->view().fatalMessage());
    EXPECT_EQ(game.platform.now(), 100u);
    EXPECT_TRUE(game.platform.visibleWindows().empty());
}

TEST(Runtime, TheProgramEndsWithStatusZeroWhenNothingIsLeft) {
    // The final screen's "Konec" through the program's own loop; its window is the first.
    HeadlessPlatform platform;
    Runtime runtime(platform, sourceDir(), gameHandlers(), gameDescriptions());
    platform.queue({InputEvent::Type::MouseDown, 1, 430, 504});
    platform.queue({InputEvent::Type::MouseUp, 1, 430, 504});
    EXPECT_EQ(runtime.run("win"), 0);
    EXPECT_FALSE(runtime.view().askedToEnd());  // a game won, not one left
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_TRUE(platform.visibleWindows().empty());
}

// The first bytes of a real picture and then garbage: the header passes the description's
// check, only decoding finds the damage.
std::string truncatedPicture(const std::string& file, std::string_view garbage) {
    return readFile(sourceDir() / "data" / "pictures" / file).substr(0, 40) + std::string(garbage);
}

TEST(Runtime, ADamagedPictureIsFatalWhenItsSceneIsLoaded) {
    for (const char* garbage : {"tohle není obrázek, jen pár bajtů", ""}) {
        SCOPED_TRACE(garbage);
        TempDir temp;
        copyData(temp.path());
        writeFile(temp.path() / "data" / "pictures" / "home.png",
                  truncatedPicture("home.png", garbage));
        TestGame game;
        game.runtime = std::make_unique<Runtime>(game.platform, temp.path(), game.handlers,
                                                 gameDescriptions(temp.path()));
        game.runtime->show("Příběh");
        game.wait(0);
        EXPECT_FALSE(game.ended());
        game.pressEnter("Příběh");  // "Začít hru" shows the home
        EXPECT_TRUE(game.ended());
        EXPECT_EQ(game.runtime->view().exitStatus(), 1);
        EXPECT_TRUE(mentions(game.runtime->view().fatalMessage(), "home.png"));
        EXPECT_TRUE(game.platform.visibleWindows().empty());
    }
}

// Every picture is checked at start for the scale the game is drawn at, the 2x and 3x ones as
// the 1x ones: the error names the file and what is wrong with it, and nothing hangs.
TEST(Runtime, TheProgramReportsADamagedPictureRightAfterTheMenuOpens) {
    struct Row {
        const char* what;
        int scale;
        void (*damage)(const fs::path& pictures);
        std::vector<std::string> words;
    };
    const Row rows[] = {
        {"a picture cut short",
         1,
         [](const fs::path& p) { writeFile(p / "villa.png", truncatedPicture("villa.png", "?")); },
         {"villa.png"}},
        {"a FIFO in place of a 2x picture",
         2,
         [](const fs::path& p) {
             fs::remove(p / "2x" / "bank.png");
             makeFifo(p / "2x" / "bank.png");
         },
         {"2x", "bank.png", "not a regular file"}},
        {"a 2x picture that claims 12000 x 12000",
         2,
         [](const fs::path& p) {
             std::string header = readFile(p / "2x" / "menu.png").substr(0, 33);
             header.replace(16, 8, std::string("\x00\x00\x2e\xe0\x00\x00\x2e\xe0", 8));
             writeFile(p / "2x" / "menu.png", header);
         },
         {"2x", "menu.png", "12000 x 12000", "not 2 times"}},
        {"a 1x copy among the 3x pictures",
         3,
         [](const fs::path& p) {
             // Removed first: mingw's copy_file refuses to overwrite, whatever the option.
             fs::remove(p / "3x" / "shop.png");
             fs::copy_file(p / "shop.png", p / "3x" / "shop.png");
         },
         {"3x", "shop.png", "not 3 times"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir temp;
        copyData(temp.path());
        row.damage(temp.path() / "data" / "pictures");
        HeadlessPlatform platform({0, 0, 2560 * 2, 1600 * 2}, row.scale);
        Runtime runtime(platform, temp.path(), gameHandlers(), gameDescriptions(temp.path()));
        const RuntimeReader reader(runtime);
        platform.readWith(&reader);
        EXPECT_EQ(runtime.run(), 1);
        EXPECT_EQ(platform.scale(), row.scale);
        ASSERT_EQ(platform.messages().size(), 1u);
        for (const std::string& word : row.words)
            EXPECT_TRUE(mentions(platform.messages()[0].text, word));
        EXPECT_TRUE(platform.visibleWindows().empty());
    }
}

// Another language's files are read at start with the Czech ones, though the game starts in
// Czech: a damaged one is reported at once, naming the file (and the line), not when the player
// chooses that language. So is the table of next steps, not when the player asks for a hint.
TEST(Runtime, AnotherLanguagesDamagedFileIsFatalAtStart) {
    struct Row {
        const char* what;
        std::function<void(const fs::path&)> damage;
        std::vector<std::string> words;
    };
    const std::vector<Row> rows = {
        {"a catalogue with a broken string",
         [](const fs::path& base) {
             writeFile(base / "po" / "en.po",
                       readFile(sourceDir() / "po" / "en.po") + "\nmsgctxt \"scene Mapa: Label1\n");
         },
         {"en.po:", "closing quote"}},
        {"subtitles cut short",
         [](const fs::path& base) {
             writeFile(base / "data" / "en" / "captions.tsv", "telefon.wav\t5.680\n");
         },
         {"captions.tsv", "has no subtitles"}},
        {"a list of English assets with a line of no kind",
         [](const fs::path& base) {
             writeFile(base / "data" / "en" / "assets.txt", "clip\ttelefon.wav\nsound\tx.wav\n");
         },
         {"assets.txt:2", "neither a clip nor a picture"}},
        {"an English picture that is no picture",
         [](const fs::path& base) {
             writeFile(base / "data" / "pictures" / "en" / "home.png",
                       truncatedPicture("home.png", "?"));
         },
         {"en/home.png"}},
        {"an English picture of another size than the one it replaces",
         [](const fs::path& base) {
             // Removed first: MinGW's copy_file refuses to overwrite, whatever it is told.
             const fs::path home = base / "data" / "pictures" / "en" / "home.png";
             fs::remove(home);
             fs::copy_file(base / "data" / "pictures" / "en" / "logo.png", home);
         },
         {"en/home.png", "of the picture it replaces"}},
        {"an English message box taller than the game's window",
         [](const fs::path& base) {
             std::string po = readFile(sourceDir() / "po" / "en.po");
             const std::size_t at = po.find("msgstr \"Yesterday");
             std::string lines;
             for (int i = 0; i < 60; ++i) lines += "\\n";
             po.insert(at + 8, lines);
             writeFile(base / "po" / "en.po", po);
         },
         {"po/en.po:403:", "the box of documents", "larger than the game's"}},
        {"a table of next steps whose step is no control",
         [](const fs::path& base) {
             writeFile(base / "data" / "next-steps.tsv",
                       readFile(sourceDir() / "data" / "next-steps.tsv") + "zz\t3\tdoma\tNoSuch\n");
         },
         {"next-steps.tsv:", "no control NoSuch"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir temp;
        copyData(temp.path());
        fs::copy(sourceDir() / "po", temp.path() / "po", fs::copy_options::recursive);
        row.damage(temp.path());
        HeadlessPlatform platform({0, 0, 1280, 1024}, 1);
        Runtime runtime(platform, temp.path(), gameHandlers(), gameDescriptions(temp.path()));
        const RuntimeReader reader(runtime);
        platform.readWith(&reader);
        EXPECT_EQ(runtime.run(), 1);
        EXPECT_EQ(platform.messages().size(), 1u);
        if (platform.messages().size() != 1u) continue;  // the next rows are still seen
        EXPECT_EQ(platform.messages()[0].title, "ORVAL KESK – chyba");
        for (const std::string& word : row.words)
            EXPECT_TRUE(mentions(platform.messages()[0].text, word));
    }
}

}  // namespace
}  // namespace orval::testing
