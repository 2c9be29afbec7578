// The player's choices: the language the game starts in, and the settings file read at start,
// written at once when a choice changes, never in the way of the game when it is damaged or
// cannot be kept.
#include "shell/settings.h"
#include "shell/language_choice.h"
#include "shell/platform/player_files.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

struct Reports {
    std::vector<std::string> lines;
    KeptSettings::Report report() {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

TEST(Language, AskedThenRememberedThenTheFirstOfThePlayersThatTheGameHas) {
    struct Row {
        const char* what;
        std::vector<std::string> preferred;
        std::optional<std::string> asked, remembered;
        const char* chosen;
    };
    const std::vector<std::string> languages = {"cs", "en"};
    const Row rows[] = {
        {"no preference at all: Czech", {}, {}, {}, "cs"},
        {"the C locale names none", {"C"}, {}, {}, "cs"},
        {"nor does POSIX", {"POSIX", "C"}, {}, {}, "cs"},
        {"an English desktop", {"en_US"}, {}, {}, "en"},
        {"a Czech one", {"cs_CZ", "en_GB"}, {}, {}, "cs"},
        {"the first the game has", {"de_AT", "en-GB", "cs"}, {}, {}, "en"},
        {"a locale with its encoding, in capitals", {"CS_CZ.UTF-8@euro"}, {}, {}, "cs"},
        {"none the game has: English", {"de_DE", "fr"}, {}, {}, "en"},
        {"the C locale before a language", {"C", "de"}, {}, {}, "en"},
        {"remembered over the desktop", {"en_US"}, {}, "cs", "cs"},
        {"remembered over no preference", {}, {}, "en", "en"},
        {"a remembered language the game no longer has", {"cs_CZ"}, {}, "de", "cs"},
        {"asked over the remembered and the desktop", {"cs_CZ"}, "en", "cs", "en"},
        {"asked, with no preference", {}, "en", {}, "en"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(chooseLanguage({row.preferred, row.asked, row.remembered}, languages), row.chosen)
            << row.what;
}

// One fault a row: reported in one line naming the file and the fault, then the defaults.
TEST(Settings, EachDamageIsReportedInOneLineAndTheDefaultsArePlayed) {
    struct Row {
        const char* what;
        std::string text;   // the file's text; empty: a folder in its place
        const char* words;  // what the report says besides the file's name, '|' between
    };
    const std::string good = "language = en\nsubtitles = off\nsound = off\n";
    const Row rows[] = {
        {"a line that is no setting", good + "sound off\n", "line 4|not a setting"},
        {"a setting the game does not know", "volume = 3\n", "line 1|volume"},
        {"a setting given twice", good + "sound = on\n", "line 4|sound is set twice"},
        {"subtitles neither on nor off", "subtitles = yes\n", "line 1|subtitles|yes|on or off"},
        {"sound neither on nor off", "\n\nsound = 0\n", "line 3|sound|on or off"},
        {"names neither on nor off", "names = ano\n", "line 1|names|on or off"},
        {"no value", "sound =\n", "line 1|sound|on or off"},
        {"a language that is no language code", "language = English\n", "line 1|English"},
        {"bytes of another file", std::string("sub\0titles = on\n", 16), "line 1|damaged"},
        {"letters beyond ASCII", "language = čeština\n", "line 1|damaged"},
        {"far too large", std::string(5000, '#'), "5000 bytes|more than 4096"},
        {"a folder in its place", "", "not a regular file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TempDir dir;
        const fs::path file = dir.path() / "settings.conf";
        if (row.text.empty())
            fs::create_directory(file);
        else
            writeFile(file, row.text);
        Reports reports;
        const KeptSettings kept(file, {}, reports.report());
        EXPECT_EQ(kept.settings(), Settings{});
        ASSERT_EQ(reports.lines.size(), 1u);
        EXPECT_TRUE(mentions(reports.lines[0], file.string()));
        std::istringstream words(row.words);
        for (std::string word; std::getline(words, word, '|');)
            EXPECT_TRUE(mentions(reports.lines[0], word));
    }
}

// The language chosen on the menu, T and M go into the file at once; the next run starts with
// them; a file that cannot be written is said once, and the game goes on with the choice.
TEST(Settings, EveryChoiceIsKeptAtOnceAndTheNextRunStartsWithIt) {
    const TempDir dir;
    const fs::path file = dir.path() / "settings.conf";
    const auto kept = [&] { return parseSettings(readFile(file), "settings.conf"); };
    Reports reports;
    {
        KeptSettings settings(file, {}, reports.report());  // the first run: no file yet
        EXPECT_EQ(settings.settings(), Settings{});
        settings.startIn("en");  // as an English desktop has it
        TestGame game(StartOptions{"en", true, true,
                                   [&](const PlayerChoices& now) { settings.update(now); }});
        game.pressKey(Key::T);
        EXPECT_EQ(kept(), (Settings{std::nullopt, false, true}));  // the desktop's, not a choice
        game.clickControl("ORVAL", "Language_cs");
        EXPECT_EQ(game.runtime->view().language(), "cs");
        EXPECT_EQ(kept(), (Settings{"cs", false, true}));
        play(game, route::answered);
        game.pressKey(Key::M);
        EXPECT_EQ(kept(), (Settings{"cs", false, false}));
        game.pressKey(Key::L);
        EXPECT_EQ(kept(), (Settings{"cs", false, false, false}));
    }
    const KeptSettings settings(file, {}, reports.report());
    EXPECT_EQ(settings.settings(), (Settings{"cs", false, false, false}));
    TestGame game(StartOptions{"cs",
                               settings.settings().subtitles,
                               settings.settings().sound,
                               {},
                               settings.settings().names});
    play(game, route::answered);
    game.takeSounds();
    const std::size_t shown = game.platform.subtitles().size();
    play(game, kTelevision);
    game.wait(2000);
    EXPECT_TRUE(game.takeSounds().empty());
    EXPECT_EQ(game.platform.subtitles().size(), shown);
    game.move("doma", kTelevision.x, kTelevision.y);
    game.pixel("doma", 0, 0);
    EXPECT_FALSE(game.runtime->view().nameLine()) << "the names stay off";
    EXPECT_TRUE(reports.lines.empty());

    // A file where the folder should be: nothing can be written under it.
    writeFile(dir.path() / "blocked", "");
    KeptSettings blocked(dir.path() / "blocked" / "settings.conf", {}, reports.report());
    blocked.startIn("cs");
    blocked.update({"cs", true, false});
    blocked.update({"cs", false, false});
    ASSERT_EQ(reports.lines.size(), 1u);
    EXPECT_TRUE(mentions(reports.lines[0], "cannot be written"));
    EXPECT_EQ(blocked.settings(), (Settings{std::nullopt, false, false}));
}

// Whatever the menu offers, the next start reads back, a region in its name too.
TEST(Settings, EveryLanguageTheGameOffersIsReadBack) {
    const TempDir dir;
    fs::create_directory(dir.path() / "po");
    for (const char* name : {"en.po", "de_AT.po", "pt_BR.po", "Deutsch.po", "de-AT.po"})
        writeFile(dir.path() / "po" / name, "");
    std::vector<std::string> offered = languagesIn(dir.path());
    EXPECT_EQ(offered, (std::vector<std::string>{"cs", "de_AT", "en", "pt_BR"}));
    for (const std::string& code : languagesIn(sourceDir())) offered.push_back(code);
    for (const std::string& code : offered) {
        Settings settings;
        settings.language = code;
        EXPECT_EQ(parseSettings(formatSettings(settings), "settings.conf"), settings) << code;
    }
}

// Two games on one file each keep the choice they change; a write killed before its rename is
// cleared away once no game can still finish it; a file that is a link stays one.
TEST(Settings, AWriteChangesItsOwnChoiceOnWhatTheFileHoldsAndLeavesNothingBehind) {
    const TempDir dir;
    const fs::path file = dir.path() / "settings.conf";
    const auto kept = [&] { return parseSettings(readFile(file), "settings.conf"); };
    Reports reports;
    KeptSettings first(file, {}, reports.report()), second(file, {}, reports.report());
    first.startIn("cs");
    second.startIn("cs");
    first.update({"cs", false, true});
    second.update({"cs", true, false});
    EXPECT_EQ(kept(), (Settings{std::nullopt, false, false}));
    second.update({"en", true, false});
    EXPECT_EQ(kept(), (Settings{"en", false, false}));

    const fs::path killed = dir.path() / "settings.conf.123456.new";
    const fs::path writing = dir.path() / "settings.conf.654321.new";  // another game's, now
    writeFile(killed, "subtitles = o");
    writeFile(writing, "");
    fs::last_write_time(killed, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    first.update({"cs", false, false});
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(writing));

#ifdef ORVAL_TEST_UNREADABLE_FILES  // where the tests can make links
    fs::create_directory(dir.path() / "dotfiles");
    const fs::path keptElsewhere = dir.path() / "dotfiles" / "orval.conf";
    fs::rename(file, keptElsewhere);
    fs::create_symlink(keptElsewhere, file);
    first.update({"cs", true, false});
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(parseSettings(readFile(keptElsewhere), "orval.conf"), (Settings{"en", true, false}));
#endif
    EXPECT_TRUE(reports.lines.empty());
}

#ifndef _WIN32  // where the paths of the XDG rules are full ones
// The player's files go where the XDG rules say, an empty or relative XDG_DATA_HOME passed over.
TEST(Settings, ThePlayersFolderIsWhereXdgSays) {
    EXPECT_EQ(dataHome("/data", "/home/a"), fs::path("/data"));
    EXPECT_EQ(dataHome(nullptr, "/home/a"), fs::path("/home/a/.local/share"));
    EXPECT_EQ(dataHome("", "/home/a"), fs::path("/home/a/.local/share"));
    EXPECT_EQ(dataHome("data", "/home/a"), fs::path("/home/a/.local/share"));
    EXPECT_THROW(dataHome("", ""), std::runtime_error);
}
#endif

}  // namespace
}  // namespace orval::testing
