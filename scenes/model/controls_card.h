// The card of the controls: every key of the game and every button of a game controller, on
// one small screen drawn like the game's own message box. Its lines are the binding table's
// (shell/bindings.*).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/render.h"
#include "scenes/model/text.h"

namespace orval {

struct ControlsCard {
    struct Row {
        std::string keys, does;
    };
    struct Column {
        std::string heading;
        std::vector<Row> rows;
    };
    std::string title;
    std::vector<Column> columns;
};

// Where the card's words are in a catalogue.
inline constexpr std::string_view kCardTitle = "controls card: title";
inline constexpr std::string_view kCardHeading = "controls card: heading";
inline constexpr std::string_view kCardKeys = "controls card: keys";
inline constexpr std::string_view kCardDoes = "controls card: meaning";

// The card's size and its OK button, in its own pixels.
MessageBoxLayout layoutControlsCard(const ControlsCard& card, Fonts& fonts);
void renderControlsCard(const ControlsCard& card, Fonts& fonts, Canvas& canvas, bool okPressed,
                        std::string_view ok = "OK");

}  // namespace orval
