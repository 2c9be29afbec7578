// The subtitle window: a clip's cues cut into pages of at most two lines, and their drawing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/captions.h"
#include "scenes/model/text.h"

namespace orval {

// What the subtitle window shows at one time: one or two lines of one cue.
struct SubtitlePage {
    const Speaker* speaker = nullptr;
    std::string name;                // the speaker's name as shown, empty for an effect
    std::vector<std::string> lines;  // the first one led by the speaker's name and a colon
    std::string words;               // the words alone, on one line
    std::size_t letters = 0;         // of the words, for the time they need to be read
};

// The height of the window for `width`: room for two lines of the subtitle face.
int subtitleHeight(Fonts& fonts);

// The cue laid out for a window `width` pixels wide, as many pages as its words need; every
// page repeats the speaker's name so that no page leaves the reader guessing who speaks.
std::vector<SubtitlePage> pageCue(const Cue& cue, int width, Fonts& fonts);
// The same with the speaker's name in the player's language.
std::vector<SubtitlePage> pageCue(const Cue& cue, std::optional<std::string_view> name, int width,
                                  Fonts& fonts);

// Draws the page centred on the dark box that fills the canvas.
void renderSubtitle(const SubtitlePage& page, Fonts& fonts, Canvas& canvas);

}  // namespace orval
