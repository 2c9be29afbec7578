// Subtitles: the words of every clip, in time with it, below the window of the scene that spoke,
// and the keys that govern them.
#include "scenes/model/captions.h"
#include "scenes/model/loader.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

const Captions& gameCaptions() {
    static const Captions all = loadCaptions(sourceDir() / "data" / "captions.tsv", soundClips());
    return all;
}

// The subtitles shown since the `from`th one.
std::vector<HeadlessPlatform::Subtitle> shownSince(const TestGame& game, std::size_t from) {
    const auto& all = game.platform.subtitles();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
}

void pressKey(TestGame& game, std::string_view scene, Key key) {
    game.platform.pressKey(key, *game.runtime->view().windowOf(scene));
    game.wait(0);
}

TEST(Subtitles, EachCueComesAtItsTimeBelowTheWindowThatSpokeAndGoesWithTheClip) {
    TestGame game;
    play(game, route::home);  // the telephone rings as the home opens
    ASSERT_EQ(game.platform.subtitles().size(), 1u);
    const HeadlessPlatform::Subtitle ring = game.platform.subtitles()[0];
    EXPECT_EQ(ring.speaker, "effect");
    EXPECT_EQ(ring.text, "[zvoní telefon]");
    EXPECT_EQ(ring.at, game.platform.sounds().back().at);
    const WindowRequest& window = game.platform.window(ring.window).request;
    const Rect home = game.windowRect("doma");
    EXPECT_EQ(window.kind, WindowKind::Subtitles);
    EXPECT_EQ(window.title, "Titulky");
    EXPECT_EQ((Rect{window.x, window.y, window.width}), (Rect{home.x, home.y + home.h, home.w}));
    EXPECT_GE(window.height, 2 * 16);
    EXPECT_EQ(game.windows().front(), "Inventář");  // the focus stays where it was
    game.wait(6000);
    EXPECT_EQ(game.platform.subtitles()[0].until,
              ring.at + gameCaptions().at("telefon.wav").lengthMs);
    EXPECT_FALSE(game.platform.subtitleWindow());

    // The announcer's call: every cue in turn, never before its time and never much after.
    play(game, kTelephone);
    const std::uint64_t start = game.platform.sounds().back().at;
    const ClipCaptions& call = gameCaptions().at("hlasatelka.wav");
    game.wait(call.lengthMs + 3000);
    const auto shown = shownSince(game, 1);
    ASSERT_EQ(shown.size(), call.cues.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(call.cues[i].text);
        EXPECT_EQ(shown[i].speaker, call.cues[i].speaker);
        EXPECT_EQ(shown[i].text, call.cues[i].text);
        EXPECT_GE(shown[i].at, start + call.cues[i].startMs);
        EXPECT_LE(shown[i].at, start + call.cues[i].startMs + 500);
        if (i > 0) {
            EXPECT_EQ(shown[i].at, shown[i - 1].until);
        }
    }
    EXPECT_GE(shown.back().until, start + call.cues.back().endMs);
    EXPECT_FALSE(game.platform.subtitleWindow());
}

TEST(Subtitles, ANewClipSpaceTheKeyTAndAnUnloadedSceneEndThem) {
    TestGame game;
    play(game, route::answered);
    const std::size_t before = game.platform.subtitles().size();
    play(game, kTelevision);
    game.wait(1000);

    // A new clip cuts off the old one's words at once, as its sound cuts off the sound.
    play(game, kTelevision);
    const std::uint64_t again = game.platform.sounds().back().at;
    auto shown = shownSince(game, before);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].until, again);
    EXPECT_EQ(shown.back().text, "[znělka zpráv]");
    EXPECT_EQ(shown.back().at, again);

    // Space: the line ends, sound and words together; no flag of the game changes.
    const Flags flags = flagsOf(game);
    game.wait(500);
    pressKey(game, "doma", Key::Space);
    const std::uint64_t ended = game.platform.now();
    EXPECT_EQ(game.platform.sounds().back().stoppedAt, ended);
    EXPECT_EQ(game.platform.subtitles().back().until, ended);
    EXPECT_FALSE(game.platform.subtitleWindow());
    EXPECT_EQ(flagsOf(game), flags);

    // T: the next clip is heard but not shown; a second T shows its words from there on.
    pressKey(game, "doma", Key::T);
    const std::size_t hidden = game.platform.subtitles().size();
    play(game, kTelevision);
    game.wait(2000);
    EXPECT_EQ(game.platform.subtitles().size(), hidden);
    EXPECT_EQ(game.takeSounds().back(), "zvuky/televize.wav");
    pressKey(game, "doma", Key::T);
    ASSERT_EQ(game.platform.subtitles().size(), hidden + 1);
    EXPECT_EQ(game.platform.subtitles().back().at, game.platform.now());
    EXPECT_EQ(flagsOf(game), flags);

    // The scene that spoke goes, and its words with it.
    game.runtime->unload("doma");
    game.wait(0);
    EXPECT_EQ(game.platform.subtitles().back().until, game.platform.now());
    EXPECT_FALSE(game.platform.subtitleWindow());
}

TEST(Subtitles, TheInventorysLinesLieBelowThePlaceInFront) {
    TestGame game;
    play(game, route::planted + kDevice);  // the night in the car: the cassette's evidence
    ASSERT_FALSE(game.platform.subtitles().empty());
    const WindowRequest& window =
        game.platform.window(game.platform.subtitles().back().window).request;
    const Rect villa = game.windowRect("Vila");
    EXPECT_EQ((Rect{window.x, window.y, window.width}),
              (Rect{villa.x, villa.y + villa.h, villa.w}));
}

// In the story screen Space presses "Začít hru", as Enter does: no line is playing there.
TEST(Subtitles, SpaceStillStartsTheGameFromTheStory) {
    TestGame game("Příběh");
    pressKey(game, "Příběh", Key::Space);
    EXPECT_TRUE(game.loaded("doma"));
    EXPECT_FALSE(game.loaded("Příběh"));
}

// Muted, a clip is not started, yet its words show; unmuted, the next one sounds again.
TEST(Subtitles, MMutesEverySoundButNotTheWords) {
    TestGame game;
    play(game, route::answered);
    game.takeSounds();
    pressKey(game, "doma", Key::M);
    play(game, kTelevision);
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_EQ(game.platform.subtitles().back().text, "[znělka zpráv]");
    pressKey(game, "doma", Key::M);
    play(game, kTelevision);
    EXPECT_EQ(game.takeSounds(), std::vector<std::string>{"zvuky/televize.wav"});
}

// One fault of the subtitles file a row; the error names the file, the line and the fault.
struct CaptionDamage {
    const char* what;
    const char* from;
    const char* to;
    const char* words;
};

const char* const kGoodCaptions =
    "# a comment\n"
    "a.wav\t2.500\n"
    "\t0.000\t1.000\teffect\t[cvak]\n"
    "\t1.000\t2.500\tgreen\tDobrý den!\n"
    "go bank.wav\t1.000\n"
    "\t0.000\t1.000\tagent\tBěžte do banky.\n";

// Two thousand words: laid out page by page, they would hold the click that plays them.
const std::string kEndlessWords = [] {
    std::string words = "Dobrý";
    for (int i = 1; i < 2000; ++i) words += " den";
    return words;
}();

const CaptionDamage kCaptionDamages[] = {
    {"unknown speaker", "\tgreen\t", "\tgrey\t", ":4:|unknown speaker grey"},
    {"cue past the clip's end", "\t2.500\tgreen", "\t2.600\tgreen", ":4:|2.600|inside|a.wav"},
    {"start after end", "\t1.000\t2.500", "\t2.000\t1.500", ":4:|do not lie inside"},
    {"cue before the one above", "\t0.000\t1.000\teffect", "\t1.500\t2.000\teffect",
     ":4:|before the one above"},
    {"not a number", "\t0.000\t1.000\teffect", "\t0,5\t1.000\teffect", ":3:|not a number"},
    {"four decimals", "\t0.000\t1.000\teffect", "\t0.0001\t1.000\teffect", ":3:|not a number"},
    {"a clip with no cues", "\t0.000\t1.000\tagent\tBěžte do banky.\n", "",
     "go bank.wav|no subtitles"},
    {"a missing clip", "go bank.wav\t1.000\n\t0.000\t1.000\tagent\tBěžte do banky.\n", "",
     "go bank.wav|no subtitles"},
    {"a clip listed twice", "go bank.wav\t1.000\n", "a.wav\t1.000\n", ":5:|a.wav|twice"},
    {"a clip no handler plays", "go bank.wav\t1.000", "gobank.wav\t1.000",
     ":5:|gobank.wav|not a clip"},
    {"a length of nothing", "a.wav\t2.500", "a.wav\t0", ":2:|length of a.wav"},
    {"a length too long", "a.wav\t2.500", "a.wav\t99.000", ":2:|length of a.wav"},
    {"a clip without a length", "a.wav\t2.500", "a.wav", ":2:|file name, a tab and its length"},
    {"a cue before any clip", "# a comment", "\t0.000\t1.000\tagent\tAhoj", ":1:|before the first"},
    {"a cue missing its text", "\tDobrý den!", "", ":4:|a tab, its start"},
    {"empty words", "Dobrý den!", "   ", ":4:|without text"},
    {"a control character", "Dobrý den!", "Dobrý\x01 den!", ":4:|control character"},
    {"not UTF-8", "Dobrý den!", "Dobr\xfd den!", "not UTF-8"},
    {"words without end", "Dobrý den!", kEndlessWords.c_str(), ":4:|8001 letters|more than 500"},
};

TEST(Captions, EachDamageIsNamedWithFileAndLine) {
    const std::vector<std::string> clips = {"a.wav", "go bank.wav"};
    EXPECT_EQ(parseCaptions(kGoodCaptions, "captions.tsv", clips).at("a.wav").cues.size(), 2u);
    for (const CaptionDamage& damage : kCaptionDamages) {
        SCOPED_TRACE(damage.what);
        std::string text = kGoodCaptions;
        const std::size_t at = text.find(damage.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string_view(damage.from).size(), damage.to);
        try {
            parseCaptions(text, "captions.tsv", clips);
            ADD_FAILURE() << "accepted";
        } catch (const DataFileError& error) {
            const std::string message = error.what();
            EXPECT_TRUE(mentions(message, "captions.tsv"));
            std::istringstream words(damage.words);
            for (std::string word; std::getline(words, word, '|');)
                EXPECT_TRUE(mentions(message, word));
        }
    }
}

}  // namespace
}  // namespace orval::testing
