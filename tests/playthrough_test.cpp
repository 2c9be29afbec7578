// Whole games, clicked pixel by pixel from the main menu to the end of the program.
#include <sstream>

#include "scenes/model/captions.h"
#include "scenes/model/language.h"
#include "scenes/model/notebook.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The whole story, every step with all it must do; the boxes say `documents` and `nextDay`.
std::vector<Expect> story(const Message& documents, const Message& nextDay) {
    return {
        {"main menu: NOVÁ HRA shows the story and closes the menu", kNewGame, "", "",
         "Příběh +Příběh -ORVAL"},
        {"story: Začít hru shows the home and the inventory", kStartGame, "",
         "doma.Timer1=1 doma.Image4=1 doma.Image3=0 doma.Image2=0 doma.Image1=0 "
         "Inventář.Timer1=0 Inventář.Picture2=0 Inventář.Picture3=0 Inventář.Picture4=0 "
         "Inventář.Picture5=0 Inventář.Picture6=0 Inventář.Image1=0 Inventář.Image2=0 "
         "Inventář.Image3=0 Inventář.Image4=0 Inventář.Image5=0",
         "Inventář +doma +Inventář -Příběh"},
        {"home: the telephone rings 100 ms later", pause(100), "telefon", "doma.Timer1=0"},
        {"home: the telephone is answered", kTelephone, "hlasatelka",
         "doma.Image4=0 doma.Image3=1"},
        {"home: the door shows the map", kHomeDoor, "",
         "Mapa.Image1=1 Mapa.Image2=1 Mapa.Image3=0 Mapa.Image4=0 Mapa.Image5=0", "Mapa +Mapa"},
        {"map: the headquarters", kMapHeadquarters, "", "", "velitelství +velitelství"},
        {"headquarters: to Mr. Brown", kToBrown, "",
         "Brown.Timer1=1 Brown.Image5=0 Brown.Image6=1 Brown.Image7=1",
         "Brown +Brown -velitelství"},
        {"Mr. Brown: his sound 100 ms later", pause(100), "průser", "Brown.Timer1=0"},
        {"Mr. Brown tells about the documents", kBrownHead, "dokumenty",
         "Brown.Image6=0 Brown.Image5=1"},
        {"Mr. Brown: the box of documents opens the shop on the map", kBox, "",
         "Mapa.Image3=1 Brown.Image5=0 Brown.Image7=0", "", documents},
        {"Mr. Brown: the right edge leads to the warehouse", kBrownRightEdge, "", "",
         "Sklad +Sklad"},
        {"warehouse: the pistol", kPistolCrate, "", "Inventář.Picture2=1"},
        {"warehouse: the listening device", kDeviceCrateCorner, "", "Inventář.Picture3=1"},
        {"warehouse: back to the map", kWarehouseExit, "", "", "Mapa"},
        {"map: Mr. Green's shop", kMapShop, "", "green.Timer1=1 green.Image7=1 green.Image8=1",
         "green +green"},
        {"shop: Mr. Green's wish 20 ms later", pause(20), "přání", "green.Timer1=0"},
        {"shop: Mr. Green opens the conversation", kGreenLegs, "",
         "Rozmluva.Image1=1 Rozmluva.Image2=1 Rozmluva.Image3=0 Rozmluva.Label3=0",
         "Rozmluva +Rozmluva"},
        {"conversation: the peanuts", kBuyPeanuts, "arašídy",
         "Inventář.Picture5=1 Rozmluva.Image2=0"},
        {"conversation: the meat", kBuyMeat, "krisí maso",
         "Inventář.Picture4=1 Rozmluva.Image1=0 Rozmluva.Image3=1 Rozmluva.Label3=1"},
        {"conversation: where is Mr. Black", kAskForBlack, "black2",
         "green.Image7=0 green.Image8=0 Rozmluva.Image3=0 Mapa.Image4=1"},
        {"conversation: goodbye", kGoodbye, "naschle", "", "green -Rozmluva"},
        {"shop: back to the map", kShopExit, "", "", "Mapa"},
        {"map: the bank", kMapBank, "", "Banka.Image3=1 Banka.Image1=0", "Banka +Banka"},
        {"bank: the clerk has no money", kClerk, "no money", "doma.Image2=1"},
        {"bank: back to the map", kBankExit, "", "", "Mapa"},
        {"map: home", kMapHome, "", "", "doma"},
        {"home: the directory", kDirectory, "seznam", "doma.Image2=0 doma.Image1=1"},
        {"home: the second call", kTelephone, "tunelbanka",
         "doma.Image1=0 Banka.Image3=0 Banka.Image1=1"},
        {"home: the door shows the map", kHomeDoor, "", "", "Mapa"},
        {"map: the bank again", kMapBank, "", "", "Banka"},
        {"bank: the clerk tells where Mr. Black lives", kClerk, "black", "Mapa.Image5=1"},
        {"bank: back to the map", kBankExit, "", "", "Mapa"},
        {"map: the villa", kMapVilla, "", "Vila.Image1=0 Vila.Image2=1 Vila.Image3=1",
         "Vila +Vila"},
        {"villa: the car", kCarRoof, "auto", "Inventář.Image2=1"},
        {"inventory: the listening device passes the night", kDevice, "důkazy",
         "Inventář.Picture6=1 Inventář.Picture3=0 Inventář.Image2=0 Vila.Image1=1 "
         "Vila.Image2=0 Vila.Image3=0",
         "", nextDay},
        {"villa: the door shows the dog", kVillaDoor, "",
         "pes.Image1=1 pes.Image2=0 pes.Image3=1 pes.Picture2=0", "pes +pes"},
        {"dog: it growls", kDogBody, "vrčení", "Inventář.Image3=1"},
        {"inventory: the meat feeds the dog", kMeat, "pejsek",
         "Inventář.Image3=0 Inventář.Picture4=0 pes.Image1=0 pes.Image2=1 pes.Picture2=1"},
        {"dog: the door shows Mr. Black", kDogDoor, "",
         "black.Timer1=1 black.Image2=1 black.Image1=1", "black +black"},
        {"hideout: the meeting sound 20 ms later", pause(20), "setkání", "black.Timer1=0"},
        {"hideout: Mr. Black greets", kMrBlack, "pozdrav", "Inventář.Image5=1"},
        {"inventory: the cassette", kCassette, "zatýkání",
         "black.Image2=0 Inventář.Picture6=0 Inventář.Image5=0 Inventář.Image1=1"},
        {"hideout: Mr. Black after the cassette, silently", kMrBlack, "", "Inventář.Image1=1"},
        {"inventory: the pistol makes the arrest", kPistol, "zatčení", "Inventář.Timer1=1"},
        {"arrest: 1 ms before the final screen nothing has happened", pause(kArrestDelay - 1)},
        {"arrest: the final screen comes up and closes every scene of play", pause(1), "", "",
         "win +win -Inventář -Vila -doma -Banka -black -Brown -green -Mapa -pes -Sklad"},
        {"final screen: O hře shows the credits and closes the final screen", kAboutGame, "", "",
         "about +about -win"},
    };
}

// What a player of each language reads: the boxes, the story's first words, two windows'
// titles, the subtitles of that language's clips (the clips themselves the story checks), and
// the newest line of the notebook at the end.
struct Speaking {
    std::string language;
    Message documents, nextDay;
    std::string story, inventory, subtitles, captions;
    HeardLine lastHeard;
};
const Speaking kSpeaking[] = {
    {"cs",
     kDocuments,
     kNextDay,
     "V kdysi poklidném světě barev",
     "Inventář",
     "Titulky",
     "data/captions.tsv",
     {"Mr. Black", "Tohle ještě neskončilo!"}},
    {"en",
     kDocumentsInEnglish,
     kNextDayInEnglish,
     "In the once peaceful world of colours",
     "Inventory",
     "Subtitles",
     "data/en/captions.tsv",
     {"Mr. Black", "This isn't over!"}},
};

// Every spoken line of the clips the story plays, newest first, as the notebook lists them:
// the speaker's name in the language, then the words of the language's own subtitles.
std::vector<std::string> linesOfTheStory(const Speaking& speaking) {
    const Captions own = loadCaptions(sourceDir() / speaking.captions, soundClips());
    const Language words = speaking.language == "cs"
                               ? Language()
                               : Language::load(sourceDir(), speaking.language, soundClips());
    std::vector<std::string> lines;
    for (const Expect& e : story(speaking.documents, speaking.nextDay)) {
        std::stringstream clips(e.sounds);
        for (std::string clip; std::getline(clips, clip, ',');)
            for (const Cue& cue : own.at(clip + ".wav").cues)
                if (cue.speaker != "effect")
                    lines.insert(lines.begin(), words.text(speakerContext(cue.speaker),
                                                           findSpeaker(cue.speaker)->name) +
                                                    ": " + cue.text);
    }
    return lines;
}

TEST(Playthrough, FromTheMainMenuToTheEndOfTheProgramInEveryLanguage) {
    for (const Speaking& speaking : kSpeaking) {
        SCOPED_TRACE(speaking.language);
        TestGame game("ORVAL", {0, 0, 1280, 1024}, 1, speaking.language);
        ASSERT_EQ(game.windows(), std::vector<std::string>{"ORVAL"});
        const SceneDescription& briefing = game.runtime->view().description("Příběh");
        EXPECT_TRUE(briefing.controls.at(static_cast<std::size_t>(briefing.find("Label1")))
                        .caption.starts_with(speaking.story));
        for (const Expect& e : story(speaking.documents, speaking.nextDay)) {
            expectStep(game, e);
            if (::testing::Test::HasFatalFailure()) return;
        }
        EXPECT_EQ(game.windows(), std::vector<std::string>{"about"});

        // The notebook holds what was said in the whole game, newest first (N once the last
        // words are gone, whose window would take the key).
        game.wait(20000);
        game.pressKey(Key::N);
        ASSERT_TRUE(game.runtime->view().notebook()) << game.runtime->view().fatalMessage();
        std::vector<std::string> heard;
        for (const HeardLine& line : game.runtime->view().notebook()->page().lines)
            heard.push_back(line.speaker + ": " + line.words);
        EXPECT_EQ(heard, linesOfTheStory(speaking));
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.front(), speaking.lastHeard.speaker + ": " + speaking.lastHeard.words);
        game.pressKey(Key::N);
        EXPECT_FALSE(game.runtime->view().notebook());

        game.click("about", kCreditsOk.x, kCreditsOk.y);
        EXPECT_TRUE(game.ended());
        EXPECT_EQ(game.runtime->view().exitStatus(), 0);
        EXPECT_FALSE(game.runtime->view().askedToEnd());
        EXPECT_EQ(game.runtime->view().fatalMessage(), "");
        EXPECT_TRUE(loadedScenes(game).empty());
        EXPECT_TRUE(game.windows().empty());
        EXPECT_TRUE(game.takeSounds().empty());
        EXPECT_EQ(messagesOf(game), (std::vector<Message>{speaking.documents, speaking.nextDay}));
        std::map<std::string, int> titles;  // how many windows had each title
        for (const auto& [id, window] : game.platform.allWindows()) ++titles[window.request.title];
        EXPECT_EQ(titles["Form1"], 1);  // the final screen's caption alone
        EXPECT_EQ(titles[speaking.inventory], 1);
        EXPECT_GT(titles[speaking.subtitles], 15);
        const Captions own = loadCaptions(sourceDir() / speaking.captions, soundClips());
        for (const HeadlessPlatform::Subtitle& shown : game.platform.subtitles()) {
            bool spoken = false;
            for (const auto& [clip, captions] : own)
                for (const Cue& cue : captions.cues)
                    spoken |= cue.text.find(shown.text) != std::string::npos;
            EXPECT_TRUE(spoken) << "\"" << shown.text << "\" is no cue of the clips";
        }
    }
}

void expectWon(TestGame& game) {
    game.wait(kArrestDelay + 1000);
    EXPECT_FALSE(game.ended()) << game.runtime->view().fatalMessage();
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
    EXPECT_EQ(messagesOf(game).size(), 2u);
}

// Desktop windows on a screen too small for them together (as --windows gives them): every
// window is moved onto it as far as it fits, so the game can still be won. On 800 x 600 the
// arrangement, cut evenly, would leave the inventory's top 26 rows above the screen. A window
// wider than the screen starts at its left edge.
TEST(Playthrough, OnASmallScreenEveryWindowLiesOnItAndTheGameCanBeWon) {
    const Rect screen{0, 0, 800, 600};
    TestGame game("ORVAL", screen);
    for (const Step& step : route::arrest) {
        play(game, step);
        for (const std::string& scene : game.windows()) {
            const Rect r = game.windowRect(scene);
            const Rect fitting{r.x, r.y, std::min(r.w, screen.w), std::min(r.h, screen.h)};
            EXPECT_EQ(intersect(fitting, screen), fitting) << scene << " lies off the screen";
        }
    }
    EXPECT_EQ(game.windowRect("Inventář").y, 0);
    game.wait(kArrestDelay);
    EXPECT_EQ(game.windows(), std::vector<std::string>{"win"});
}

TEST(Playthrough, ItemsMayBeTakenBeforeOrAfterAnyStep) {
    const Path toNight = route::mapToVillaUnarmed + kCarBody;
    const Path& toArrest = route::nightToSilence;
    const Path visit = {kMapHeadquarters, kToWarehouse};
    int games = 0;
    // Both items at any moment between leaving home and using the device; a visit after the car
    // was clicked finds the device usable at once.
    for (std::size_t cut = 0; cut <= toNight.size(); ++cut) {
        SCOPED_TRACE("both items taken after " + std::to_string(cut) + " steps on the map");
        TestGame game;
        play(game, route::map + Path(toNight.begin(), toNight.begin() + cut));
        if (game.loaded("velitelství")) continue;  // the headquarters are waiting for a choice
        play(game, visit + Path{kPistolCrate, kDeviceCrateTop, kWarehouseExit});
        EXPECT_TRUE(game.visible("Inventář", "Picture2"));
        EXPECT_TRUE(game.visible("Inventář", "Picture3"));
        EXPECT_EQ(game.enabled("Inventář", "Image2"), cut == toNight.size());
        play(game, Path(toNight.begin() + cut, toNight.end()) + toArrest + kPistol);
        EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
        expectWon(game);
        ++games;
    }
    // The pistol alone at any moment after the device was used; taken after the cassette it is
    // usable at once.
    for (std::size_t cut = 0; cut <= toArrest.size(); ++cut) {
        SCOPED_TRACE("pistol taken after " + std::to_string(cut) + " steps from the night");
        TestGame game;
        play(game, route::map + visit + Path{kDeviceCrateTop, kWarehouseExit} + toNight +
                       Path(toArrest.begin(), toArrest.begin() + cut));
        EXPECT_FALSE(game.visible("Inventář", "Picture2"));
        play(game, visit + Path{kPistolCrate, kWarehouseExit});
        EXPECT_TRUE(game.visible("Inventář", "Picture2"));
        EXPECT_EQ(game.enabled("Inventář", "Image1"), cut == toArrest.size());
        play(game, Path(toArrest.begin() + cut, toArrest.end()) + kPistol);
        EXPECT_TRUE(game.enabled("Inventář", "Timer1"));
        expectWon(game);
        ++games;
    }
    EXPECT_GT(games, 30);
}

TEST(Playthrough, PeanutsAreNeverUsable) {
    TestGame game;
    play(game, route::conversation + kBuyPeanuts);
    ASSERT_TRUE(game.visible("Inventář", "Picture5"));
    const Path rest = Path(route::villa.begin() + static_cast<long>(route::conversation.size()),
                           route::villa.end()) +
                      kCarBody + route::nightToSilence + kPistol;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        SCOPED_TRACE("peanuts clicked after " + std::to_string(i) + " more steps");
        game.takeSounds();
        const Flags before = flagsOf(game);
        play(game, kPeanuts);
        EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/nefunguje2.wav"});
        EXPECT_EQ(flagsOf(game), before);
        EXPECT_FALSE(game.enabled("Inventář", "Image4"));
        if (i < rest.size()) play(game, rest[i]);
    }
    expectWon(game);
}

}  // namespace
}  // namespace orval::testing
