// The detective's notebook: the hint asked for, then every line heard in this game, newest
// first, each after its speaker's name, on a page drawn like the game's own message box that
// scrolls when it holds more than it shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/language.h"
#include "scenes/model/render.h"
#include "scenes/model/text.h"

namespace orval {

// The words the notebook draws itself, and those of the hints that name no step.
inline constexpr FixedText kNotebookTitle{"notebook: title", "Zápisník"};
inline constexpr FixedText kNotebookHintHeading{"notebook: hints heading", "Nápověda"};
inline constexpr FixedText kNotebookLinesHeading{"notebook: lines heading", "Co zaznělo"};
inline constexpr FixedText kNotebookNothingHeard{"notebook: nothing heard", "Zatím nezaznělo nic."};
inline constexpr FixedText kNotebookHintButton{"notebook: hint button", "Nápověda (F2)"};
inline constexpr FixedText kHintWait{"hint: wait", "Teď už stačí jen počkat."};
inline constexpr FixedText kHintNone{"hint: none", "Tady už není co udělat."};
inline constexpr FixedText kNotebookTexts[] = {kNotebookTitle,
                                               kNotebookHintHeading,
                                               kNotebookLinesHeading,
                                               kNotebookNothingHeard,
                                               kNotebookHintButton,
                                               kHintWait,
                                               kHintNone};

// A line heard: who said it (his name in the language played) and what.
struct HeardLine {
    std::string speaker, words;
};

// What the page shows, every word in the language played.
struct NotebookPage {
    std::string title, hintHeading, linesHeading, nothingHeard, hintButton, ok;
    std::vector<std::string> hints;  // the hint's steps asked for so far, the first first
    std::vector<HeardLine> lines;    // newest first
};

// Where the page's parts lie, in its own pixels, and how far its text can scroll.
struct NotebookLayout {
    int width = 0, height = 0;
    Rect text;  // the scrolled area
    Rect hintButton, okButton;
    int textHeight = 0;  // of everything the area would show unscrolled
    int maxScroll() const { return textHeight > text.h ? textHeight - text.h : 0; }
};
NotebookLayout layoutNotebook(const NotebookPage& page, Fonts& fonts);

// Draws the page with its text moved up by `scroll` pixels.
void renderNotebook(const NotebookPage& page, Fonts& fonts, Canvas& canvas, int scroll,
                    bool okPressed, bool hintPressed);

// What a screen reader or speech says of the page as it opens: the hint, then the lines.
std::string notebookSpoken(const NotebookPage& page);

}  // namespace orval
