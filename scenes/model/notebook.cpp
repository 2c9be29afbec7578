#include "scenes/model/notebook.h"

#include <algorithm>
#include <limits>

namespace orval {
namespace {

// The page is as large as the smallest place it opens over allows, whatever it holds: it
// scrolls instead of growing.
constexpr int kWidth = 440, kHeight = 340;
constexpr int kMargin = 16;
constexpr int kHeadingGap = 4;  // below a heading
constexpr int kItemGap = 6;     // between two lines heard, between the hint and the lines
constexpr int kButtonHeight = 26, kOkWidth = 88;
constexpr Colour kHeading{17, 116, 225};
constexpr Colour kSpeaker{17, 116, 225};
constexpr Colour kText{0, 0, 0};
constexpr Colour kPaper{252, 250, 240};

// One line of the page's text, where it lies unscrolled.
struct TextLine {
    int y = 0;
    std::string lead;  // a speaker's name, drawn in its colour before the words
    std::string words;
    bool heading = false;
};

std::vector<TextLine> lineUp(const NotebookPage& page, Fonts& fonts, int width, int& height) {
    std::vector<TextLine> out;
    const int line = fonts.lineHeight(kBoxFont);
    const auto measure = [&](std::string_view s) { return fonts.measure(kBoxFont, s); };
    int y = 0;
    const auto heading = [&](const std::string& words) {
        out.push_back({y, {}, words, true});
        y += fonts.lineHeight(kBoxBoldFont) + kHeadingGap;
    };
    if (!page.hints.empty()) {
        heading(page.hintHeading);
        for (const std::string& hint : page.hints) {
            for (const std::string& part : layoutText(hint, width, measure)) {
                out.push_back({y, {}, part, false});
                y += line;
            }
            y += kItemGap / 2;
        }
        y += kItemGap;
    }
    heading(page.linesHeading);
    if (page.lines.empty()) {
        out.push_back({y, {}, page.nothingHeard, false});
        y += line;
    }
    for (const HeardLine& heard : page.lines) {
        const std::string lead = heard.speaker.empty() ? std::string() : heard.speaker + ":";
        const FirstLines laid = layoutFirstLines(
            lead, heard.words, std::numeric_limits<std::size_t>::max(), width, measure);
        for (std::size_t i = 0; i < laid.lines.size(); ++i) {
            TextLine shown{y, {}, laid.lines[i], false};
            if (i == 0 && !lead.empty() && shown.words.starts_with(lead)) {
                shown.lead = lead;
                shown.words.erase(0, std::min(shown.words.size(), lead.size() + 1));
            }
            out.push_back(std::move(shown));
            y += line;
        }
        y += kItemGap;
    }
    height = y;
    return out;
}

}  // namespace

NotebookLayout layoutNotebook(const NotebookPage& page, Fonts& fonts) {
    NotebookLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    const int buttonsY = kHeight - 14 - kButtonHeight;
    layout.text = {kMargin, kBoxTitleHeight + 12, kWidth - 2 * kMargin,
                   buttonsY - 12 - (kBoxTitleHeight + 12)};
    layout.hintButton = {kMargin, buttonsY, fonts.measure(kBoxFont, page.hintButton) + 24,
                         kButtonHeight};
    layout.okButton = {kWidth - kMargin - kOkWidth, buttonsY, kOkWidth, kButtonHeight};
    lineUp(page, fonts, layout.text.w, layout.textHeight);
    return layout;
}

void renderNotebook(const NotebookPage& page, Fonts& fonts, Canvas& canvas, int scroll,
                    bool okPressed, bool hintPressed) {
    const NotebookLayout layout = layoutNotebook(page, fonts);
    drawBoxFrame(page.title, fonts, canvas);
    const Rect& area = layout.text;
    canvas.fill({area.x - 6, area.y - 4, area.w + 12, area.h + 8}, kPaper, canvas.bounds());
    int height = 0;
    for (const TextLine& line : lineUp(page, fonts, area.w, height)) {
        const int y = area.y + line.y - scroll;
        if (y + fonts.lineHeight(kBoxBoldFont) < area.y || y > area.y + area.h) continue;
        if (line.heading) {
            fonts.drawLine(canvas, kBoxBoldFont, line.words, kHeading, area.x, y, area);
            continue;
        }
        int x = area.x;
        if (!line.lead.empty()) {
            fonts.drawLine(canvas, kBoxFont, line.lead, kSpeaker, x, y, area);
            x += fonts.measure(kBoxFont, line.lead + " ");
        }
        fonts.drawLine(canvas, kBoxFont, line.words, kText, x, y, area);
    }
    // A bar at the right edge shows how much lies above and below.
    if (layout.maxScroll() > 0) {
        const int track = area.h;
        const int thumb = std::max(16, track * area.h / layout.textHeight);
        const int top = area.y + (track - thumb) * scroll / layout.maxScroll();
        canvas.fill({area.x + area.w + 2, area.y, 3, track}, {220, 220, 220}, canvas.bounds());
        canvas.fill({area.x + area.w + 2, top, 3, thumb}, kHeading, canvas.bounds());
    }
    drawOkButton(layout.hintButton, hintPressed, fonts, canvas, page.hintButton);
    drawOkButton(layout.okButton, okPressed, fonts, canvas, page.ok);
}

std::string notebookSpoken(const NotebookPage& page) {
    // Appended piece by piece: MinGW's GCC warns falsely of overlap in "literal" + string.
    std::string said = page.title;
    said += '.';
    if (!page.hints.empty()) {
        said += ' ';
        said += page.hintHeading;
        said += ": ";
        said += page.hints.back();
    }
    said += ' ';
    said += page.linesHeading;
    said += ':';
    if (page.lines.empty()) {
        said += ' ';
        said += page.nothingHeard;
    }
    for (const HeardLine& line : page.lines) {
        said += ' ';
        if (!line.speaker.empty()) {
            said += line.speaker;
            said += ": ";
        }
        said += line.words;
    }
    return said;
}

}  // namespace orval
