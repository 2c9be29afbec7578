// Label text: line breaking with a measure of fixed letter width, and every caption of the game
// measured with the real typeface against the label it was laid out for.
#include <gtest/gtest.h>

#include <sstream>

#include "scenes/model/language.h"
#include "shell/platform/font_files.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

using Lines = std::vector<std::string>;

// Ten pixels a letter; a Czech letter (two bytes) counts as one letter.
int tenPerLetter(std::string_view text) {
    int letters = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++letters;
    return 10 * letters;
}

struct LayoutCase {
    const char* what;
    const char* caption;
    int width;
    Lines expected;
};

const LayoutCase kLayouts[] = {
    {"a short line", "Kam?", 100, {"Kam?"}},
    {"leading spaces are kept", "   Do skladu", 200, {"   Do skladu"}},
    {"leading spaces indent only the first line", "  K Brownovi jdu", 120, {"  K Brownovi", "jdu"}},
    {"exactly the width fits", "abc defg", 80, {"abc defg"}},
    {"one letter too many wraps at the space", "abc defgh", 80, {"abc", "defgh"}},
    {"wrap at every space that is needed", "aaa bbb ccc ddd", 70, {"aaa bbb", "ccc ddd"}},
    {"no trailing spaces on a wrapped line", "aaaa    bbbb", 60, {"aaaa", "bbbb"}},
    {"no trailing spaces at the end", "Tak teda naschle   ", 300, {"Tak teda naschle"}},
    {"a long word is split between letters", "abcdefghij", 40, {"abcd", "efgh", "ij"}},
    {"a long word after a short one", "ab cdefghijkl", 40, {"ab", "cdef", "ghij", "kl"}},
    {"a long word is split between Czech letters", "ěščřžýáíé", 30, {"ěšč", "řžý", "áíé"}},
    {"paragraphs at line breaks", "první\ndruhý", 500, {"první", "druhý"}},
    {"an empty first paragraph is an empty line", "\nb", 500, {"", "b"}},
    {"an empty paragraph is an empty line", "a\n\nb", 500, {"a", "", "b"}},
    {"every paragraph keeps its leading spaces", "a\n  b", 500, {"a", "  b"}},
    {"a paragraph wraps on its own", "aa bb\ncc dd ee", 50, {"aa bb", "cc dd", "ee"}},
    {"an empty caption is one empty line", "", 100, {""}},
    {"the X of a location", "X", 9, {"X"}},
};

TEST(LayoutText, BreaksLinesAsTheLabelsNeed) {
    for (const LayoutCase& row : kLayouts) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(layoutText(row.caption, row.width, tenPerLetter), row.expected);
    }
}

TEST(LayoutText, NoLineIsWiderThanTheLabel) {
    const std::string text =
        "V kdysi poklidném světě barev se dějí zvláštní věci, většina barev už s námi "
        "přerušila všechny kontakty.\nPodle posledních informací jsou ostatní barvy vydírány.";
    for (int width = 10; width <= 400; width += 10) {
        SCOPED_TRACE(width);
        const Lines lines = layoutText(text, width, tenPerLetter);
        std::string words;
        for (const std::string& line : lines) {
            EXPECT_LE(tenPerLetter(line), width) << line;
            EXPECT_TRUE(line.empty() || line.back() != ' ') << line;
        }
        // Nothing is lost: the letters of the lines are the letters of the text.
        std::string letters, kept;
        for (const char c : text)
            if (c != ' ' && c != '\n') letters += c;
        for (const std::string& line : lines)
            for (const char c : line)
                if (c != ' ') kept += c;
        EXPECT_EQ(kept, letters);
    }
}

TEST(RealFonts, TheFirstConversationLineFitsItsLabel) {
    Fonts fonts(systemFontFiles);
    const Font font{"MS Sans Serif", 12.0, false, false};
    const std::string line = "Vzal bych si 1,- kg toho krysího masa.";
    EXPECT_LE(fonts.measure(font, line), 233);
    EXPECT_EQ(layoutText(line, 233, [&](std::string_view s) { return fonts.measure(font, s); }),
              Lines{line});
    EXPECT_EQ(pixelSize(12.0), 13);
}

// In every language, every label but the story and the story's button holds one line in its
// design, as high as its font's line; the story holds all its lines in its label's height.
TEST(RealFonts, EveryCaptionFitsItsLabelInEveryLanguage) {
    const std::vector<SceneDescription> scenes = gameDescriptions();
    Fonts fonts(systemFontFiles);
    std::ostringstream problems;
    int checked = 0;
    for (const std::string& code : languagesIn(sourceDir())) {
        const Language language = Language::load(sourceDir(), code, soundClips());
        for (const SceneDescription& czech : scenes) {
            const SceneDescription scene = language.localise(czech);
            for (const ControlDescription& c : scene.controls) {
                if (c.kind != ControlKind::Label && c.kind != ControlKind::CommandButton) continue;
                ++checked;
                const auto measure = [&](std::string_view s) { return fonts.measure(c.font, s); };
                const Lines lines = layoutText(c.caption, c.rect.w, measure);
                const int height = fonts.lineHeight(c.font);
                const std::string where =
                    code + " " + scene.name + " " + c.name + " \"" + c.caption + "\"";
                if (scene.name == "Příběh" && c.name == "Label1") {  // the story: many lines
                    if (static_cast<int>(lines.size()) * height > c.rect.h)
                        problems << where << ": " << lines.size() << " lines of " << height
                                 << " px in " << c.rect.h << " px\n";
                    continue;
                }
                if (lines.size() != 1)
                    problems << where << " breaks into " << lines.size() << " lines in " << c.rect.w
                             << " px (it measures " << measure(c.caption) << " px)\n";
                if (height > c.rect.h)
                    problems << where << ": a line of " << c.font.points << " pt is " << height
                             << " px high, the label " << c.rect.h << " px\n";
            }
        }
    }
    EXPECT_EQ(checked, 2 * 24);  // the mark of the languages' template among them
    EXPECT_EQ(problems.str(), "");
}

}  // namespace
}  // namespace orval::testing
