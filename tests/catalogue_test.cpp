// The catalogues of the other languages: each one complete (every text of the game, the name of
// every thing the player can point at, every subtitle cue, the words of the card and the boxes),
// none holding a text the game no longer has, its subtitles those the game shows; and the reader,
// strict about what it cannot take.
#include <regex>

#include "scenes/model/captions.h"
#include "scenes/model/catalogue.h"
#include "scenes/model/hints.h"
#include "scenes/model/language.h"
#include "scenes/model/loader.h"
#include "scenes/model/names.h"
#include "scenes/model/notebook.h"
#include "shell/bindings.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

using Texts = std::map<std::string, std::string>;  // by context and Czech text: the translation

std::string keyOf(std::string_view context, std::string_view czech) {
    return std::string(context) + " | " + std::string(czech);
}

// Every text the game shows, by where it is, with the translation it must have where the game
// knows it already (the subtitles: the cues of the language's own clips), else empty.
Texts textsOfTheGame(const std::string& language) {
    Texts texts;
    const auto add = [&](std::string_view context, std::string_view czech,
                         std::string translation = {}) {
        if (!czech.empty()) texts[keyOf(context, czech)] = std::move(translation);
    };
    for (const SceneDescription& d : gameDescriptions()) {
        add(sceneContext(d.name, kWindowTitle), d.caption);
        for (const ControlDescription& c : d.controls) {
            add(sceneContext(d.name, c.name), c.caption);
            add(nameContext(d.name, c.name), c.called);
        }
    }
    for (const GameMessage& m : gameMessages()) {
        add(messageContext(m.id, "title"), m.title);
        add(messageContext(m.id, "text"), m.text);
    }
    for (const Speaker& s : speakers()) add(speakerContext(s.key), s.name);
    const ControlsCard& card = controlsCard();
    add(kCardTitle, card.title);
    for (const ControlsCard::Column& column : card.columns) {
        add(kCardHeading, column.heading);
        for (const ControlsCard::Row& row : column.rows) {
            add(kCardKeys, row.keys);
            add(kCardDoes, row.does);
        }
    }
    for (const FixedText& fixed : kFixedTexts) add(fixed.context, fixed.czech);
    for (const FixedText& verb : kVerbs) add(verb.context, verb.czech);
    for (const FixedText& fixed : kNotebookTexts) add(fixed.context, fixed.czech);
    for (const Hint& hint : loadHints(sourceDir() / "data" / "hints.tsv"))
        for (int step = 0; step < kHintSteps; ++step)
            add(hintContext(hint, step + 1), hint.steps[static_cast<std::size_t>(step)]);
    const Captions czech = loadCaptions(sourceDir() / "data" / "captions.tsv", soundClips());
    const Captions own =
        loadCaptions(sourceDir() / "data" / language / "captions.tsv", soundClips());
    for (const auto& [clip, captions] : czech)
        for (std::size_t i = 0; i < captions.cues.size(); ++i)
            add(cueContext(clip, i + 1), captions.cues[i].text,
                i < own.at(clip).cues.size() ? own.at(clip).cues[i].text : "(no such cue)");
    return texts;
}

std::vector<std::string> otherLanguages() {
    std::vector<std::string> codes = languagesIn(sourceDir());
    codes.erase(codes.begin());  // Czech, whose texts these are
    return codes;
}

TEST(Catalogue, EveryTextOfTheGameHasItsTranslationAndEveryEntryItsText) {
    ASSERT_FALSE(otherLanguages().empty()) << "no catalogue found in po/";
    const std::regex pictureContext("picture (.+\\.svg): (.+)");
    for (const std::string& language : otherLanguages()) {
        SCOPED_TRACE(language);
        const Catalogue catalogue = Catalogue::load(sourceDir() / "po" / (language + ".po"));
        EXPECT_EQ(catalogue.language(), language);
        const Texts wanted = textsOfTheGame(language);
        std::ostringstream missing, stale, different;
        for (const auto& [key, translation] : wanted) {
            const std::size_t bar = key.find(" | ");
            const std::string* found = catalogue.find(key.substr(0, bar), key.substr(bar + 3));
            if (!found) missing << key << "\n";
            if (found && !translation.empty() && *found != translation)
                different << key << ": \"" << *found << "\", the clip's cue says \"" << translation
                          << "\"\n";
        }
        for (const CatalogueEntry& entry : catalogue.entries()) {
            std::smatch picture;
            if (std::regex_match(entry.context, picture, pictureContext)) {
                // tools/render-art holds the words to the picture's; here only that it is there.
                const fs::path art = sourceDir() / "art" / "pictures" / picture[1].str();
                if (!fs::exists(art) ||
                    readFile(art).find("id=\"" + picture[2].str() + "\"") == std::string::npos)
                    stale << entry.line << ": " << entry.context << "\n";
            } else if (!wanted.contains(keyOf(entry.context, entry.czech))) {
                stale << entry.line << ": " << keyOf(entry.context, entry.czech) << "\n";
            }
        }
        EXPECT_EQ(missing.str(), "") << "texts without a translation";
        EXPECT_EQ(stale.str(), "") << "entries whose Czech text the game no longer has";
        EXPECT_EQ(different.str(), "") << "subtitles unlike the clips' (run tools/po-clips)";
    }
}

struct Damage {
    const char* what;
    std::string text;
    const char* says;
};

const Damage kDamages[] = {
    {"a string without quotes", "msgid Banka\nmsgstr \"Bank\"\n", "x.po:1: a string must be"},
    {"no closing quote", "msgid \"Banka\nmsgstr \"Bank\"\n", "x.po:1: a string without its"},
    {"words after the string", "msgid \"Banka\" x\nmsgstr \"Bank\"\n", "x.po:1: something after"},
    {"an unknown escape", "msgid \"Ba\\qnka\"\nmsgstr \"Bank\"\n", "x.po:1: an unknown escape"},
    {"msgstr first", "msgstr \"Bank\"\n", "x.po:1: msgstr without msgid"},
    {"msgid twice", "msgid \"a\"\nmsgid \"b\"\nmsgstr \"c\"\n", "x.po:2: msgid without msgstr"},
    {"msgstr twice", "msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"\n", "x.po:3: a second msgstr"},
    {"an entry without msgstr", "msgctxt \"c\"\nmsgid \"a\"\n", "x.po:2: an entry without"},
    {"msgctxt after msgid", "msgid \"a\"\nmsgctxt \"c\"\n", "x.po:2: msgctxt where"},
    {"a lone continued string", "\"a\"\n", "x.po:1: a continued string"},
    {"plural forms", "msgid \"a\"\nmsgid_plural \"as\"\n", "x.po:2: plural forms"},
    {"an unknown keyword", "msgtxt \"a\"\n", "x.po:1: an unknown keyword msgtxt"},
    {"the same text twice in one context",
     "msgctxt \"c\"\nmsgid \"a\"\nmsgstr \"b\"\n\nmsgctxt \"c\"\nmsgid \"a\"\nmsgstr \"\"\n",
     "x.po:6: the text \"a\" under \"c\" is there twice"},
    {"not UTF-8", "msgid \"\xC3\"\nmsgstr \"\"\n", "x.po: not UTF-8"},
    {"msgstr followed by spaces only", "msgid \"a\"\nmsgstr  \n", "x.po:2: a string must be"},
    {"a translation too long for its box",
     "msgid \"Ano\"\nmsgstr \"Yes, \"\n\"and yes, and yes, and yes, and yes, and no\"\n",
     "x.po:1: a translation of 47 letters, more than twice the Czech text's 3 and 40"},
    {"twice the Czech and 40 in letters, not bytes",
     "msgid \"žž\"\nmsgstr \"" + std::string(45, 'a') + "\"\n", "x.po:1: a translation of 45"},
    {"nothing translated", "", "x.po: no text of the game is translated"},
    {"only the header", "msgid \"\"\nmsgstr \"Language: en\\n\"\n", "x.po: no text"},
};

TEST(Catalogue, ADamagedCatalogueIsRefusedWithItsLine) {
    for (const Damage& row : kDamages) {
        SCOPED_TRACE(row.what);
        try {
            Catalogue::parse(row.text, "x.po");
            ADD_FAILURE() << "taken";
        } catch (const DataFileError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(row.says)) << error.what();
        }
    }
    // A catalogue cut after any space, quote, backslash or line is taken or refused with its
    // line, never anything else.
    const std::string whole = readFile(sourceDir() / "po" / "en.po");
    const std::regex named("x\\.po(:[0-9]+)?: .+");
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        if (cut > 0 && std::string_view(" \"\\\n").find(whole[cut - 1]) == std::string::npos)
            continue;
        try {
            Catalogue::parse(std::string_view(whole).substr(0, cut), "x.po");
        } catch (const DataFileError& error) {
            EXPECT_TRUE(std::regex_match(error.what(), named)) << cut << ": " << error.what();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "cut at " << cut << ": " << error.what();
        }
    }
}

TEST(Catalogue, ReadsContinuedStringsEscapesAndLeavesFuzzyAndEmptyEntriesUntranslated) {
    const Catalogue catalogue = Catalogue::parse(
        "\xEF\xBB\xBF"  // a byte-order mark first, as some editors write one
        "msgid \"\"\nmsgstr \"Language: en\\n\"\n\n"
        "# a translator's note\nmsgctxt \"scene Mapa: \"\n\"Label1\"\nmsgid \"MA\"\n\"PA\"\n"
        "msgstr \"\"\n\"MAP\\n\\\"of\\\" \\\\ town\\t\"\n\n"
        "#, fuzzy\nmsgid \"Kam?\"\nmsgstr \"Where?\"\n\nmsgid \"X\"\nmsgstr \"\"\n",
        "x.po");
    EXPECT_EQ(catalogue.language(), "en");
    ASSERT_EQ(catalogue.entries().size(), 1u);
    const std::string* map = catalogue.find("scene Mapa: Label1", "MAPA");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(*map, "MAP\n\"of\" \\ town\t");
    EXPECT_EQ(catalogue.find("", "Kam?"), nullptr);
    EXPECT_EQ(catalogue.find("", "X"), nullptr);
    EXPECT_EQ(catalogue.find("scene Mapa: Label2", "MAPA"), nullptr);
}

}  // namespace
}  // namespace orval::testing
