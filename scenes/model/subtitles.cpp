#include "scenes/model/subtitles.h"

#include <algorithm>

namespace orval {
namespace {

// Large and bold, to be read at a glance over the game: 17 px Liberation Sans Bold.
const Font kSubtitleFont{"", 15.75, true, false};
constexpr int kMargin = 8;   // left and right of the text
constexpr int kPadding = 5;  // above and below the two lines
constexpr int kChip = 3;     // the light box around a dark name reaches this far beyond it
constexpr Colour kBox{20, 22, 28};
constexpr Colour kEdge{17, 116, 225};
constexpr Colour kWords{250, 250, 250};

std::string nameLabel(std::string_view name) {
    return name.empty() ? std::string() : std::string(name) + ":";
}

}  // namespace

int subtitleHeight(Fonts& fonts) { return 2 * fonts.lineHeight(kSubtitleFont) + 2 * kPadding; }

std::vector<SubtitlePage> pageCue(const Cue& cue, int width, Fonts& fonts) {
    return pageCue(cue, {}, width, fonts);
}

std::vector<SubtitlePage> pageCue(const Cue& cue, std::optional<std::string_view> name, int width,
                                  Fonts& fonts) {
    const Speaker* speaker = findSpeaker(cue.speaker);
    if (!speaker) speaker = findSpeaker("effect");
    // An effect has no name in any language: its bracketed words stand alone.
    const std::string shown(speaker->name.empty() ? "" : name.value_or(speaker->name));
    const std::string label = nameLabel(shown);
    const auto measure = [&](std::string_view s) { return fonts.measure(kSubtitleFont, s); };
    const int room = std::max(1, width - 2 * kMargin);
    std::vector<SubtitlePage> pages;
    std::string_view rest = cue.text;
    while (rest.find_first_not_of(' ') != std::string_view::npos) {
        FirstLines first = layoutFirstLines(label, rest, 2, room, measure);
        SubtitlePage page{speaker, shown, std::move(first.lines), {}, 0};
        for (const std::string& line : page.lines)
            page.words += (page.words.empty() ? "" : " ") + line;
        if (!label.empty()) page.words.erase(0, std::min(page.words.size(), label.size() + 1));
        page.letters = countLetters(page.words);
        pages.push_back(std::move(page));
        rest.remove_prefix(first.rest);
    }
    return pages;
}

void renderSubtitle(const SubtitlePage& page, Fonts& fonts, Canvas& canvas) {
    const Rect all = canvas.bounds();
    canvas.fill(all, kBox, all);
    canvas.fill({0, 0, all.w, 1}, kEdge, all);
    const int step = fonts.lineHeight(kSubtitleFont);
    const int used = static_cast<int>(page.lines.size()) * step;
    int y = (all.h - used) / 2;
    const std::string label = nameLabel(page.name);
    const Colour words = page.speaker->name.empty() ? page.speaker->colour : kWords;
    for (std::size_t i = 0; i < page.lines.size(); ++i, y += step) {
        const std::string& line = page.lines[i];
        int x = (all.w - fonts.measure(kSubtitleFont, line)) / 2;
        std::string_view said = line;
        if (i == 0 && !label.empty() && said.starts_with(label)) {
            // The name in the speaker's colour, on a light box where that colour is dark.
            const int nameWidth = fonts.measure(kSubtitleFont, label);
            const bool boxed = page.speaker->behind.has_value();
            if (boxed)
                canvas.fill({x - kChip, y, nameWidth + 2 * kChip, step}, *page.speaker->behind,
                            all);
            fonts.drawLine(canvas, kSubtitleFont, label, page.speaker->colour, x, y, all);
            said.remove_prefix(label.size());
            x += nameWidth + (boxed ? kChip : 0);  // the words keep their space clear of the box
        }
        fonts.drawLine(canvas, kSubtitleFont, said, words, x, y, all);
    }
}

}  // namespace orval
