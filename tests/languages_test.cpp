// The languages of the game apart from the runtime: the one spoken, the words the shell draws in
// it, and the marks the menu's template repeats for every language (none in a game of one).
#include "scenes/model/language.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The marks of a shown scene, in order: name, words, and whether it is lit.
std::string marksOf(const SceneDescription& scene) {
    std::string marks;
    for (const ControlDescription& c : scene.controls) {
        if (c.forEachLanguage) marks += "(the template) ";
        if (c.language.empty()) continue;
        const bool lit = c.foreColour == Colour{0x11, 0x74, 0xE1};
        marks += c.name + " " + c.caption + (lit ? " lit" : "") + " for " + c.language + "; ";
    }
    return marks;
}

TEST(Languages, EachSaysItsMarkInItsOwnWordsTheSpokenOneLitAndAGameOfOneHasNone) {
    const TempDir czechAlone;  // no po/: the game's own language only
    struct Row {
        const char* what;
        fs::path base;
        std::string spoken;
        std::string marks;
        std::string errorTitle;
    };
    const Row rows[] = {
        {"Czech spoken", sourceDir(), "cs", "Language_cs CZ lit for cs; Language_en EN for en; ",
         "ORVAL KESK – chyba"},
        {"English spoken", sourceDir(), "en", "Language_cs CZ for cs; Language_en EN lit for en; ",
         "ORVAL KESK – error"},
        {"a game of Czech alone", czechAlone.path(), "cs", "", "ORVAL KESK – chyba"},
    };
    const std::vector<SceneDescription> scenes = gameDescriptions();
    const SceneDescription& menu = scenes.front();
    ASSERT_TRUE(menu.roles.menu);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Languages languages(row.base, row.spoken, soundClips());
        EXPECT_EQ(languages.fixedText(kErrorTitle), "ORVAL KESK – chyba") << "read before asked";
        EXPECT_EQ(marksOf(languages.localise(menu)), row.marks);
        EXPECT_EQ(languages.fixedText(kErrorTitle), row.errorTitle);
    }

    // Asked for one it does not have, to start in or to switch to, it says which it has.
    Languages german(sourceDir(), "de", soundClips());
    Languages czech(sourceDir(), "cs", soundClips());
    const std::function<void()> asks[] = {[&] { german.spoken(); }, [&] { czech.speak("de"); }};
    for (const auto& ask : asks) {
        try {
            ask();
            ADD_FAILURE() << "a language the game does not have was spoken";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "no language \"de\": the game speaks cs, en");
        }
    }
    EXPECT_EQ(czech.code(), "cs");
}

}  // namespace
}  // namespace orval::testing
