// The card of the controls: every key of the game and every button of a game controller, on
// one small screen drawn like the game's own message box.
#pragma once

#include <string_view>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/render.h"
#include "scenes/model/text.h"

namespace orval {

struct ControlsCard {
    struct Row {
        std::string_view keys, does;
    };
    struct Column {
        std::string_view heading;
        std::vector<Row> rows;
    };
    std::string_view title;
    std::vector<Column> columns;
};

// The card's words, all in this one table, so that a translation replaces them together.
const ControlsCard& controlsCard();

// The card's size and its OK button, in its own pixels.
MessageBoxLayout layoutControlsCard(const ControlsCard& card, Fonts& fonts);
void renderControlsCard(const ControlsCard& card, Fonts& fonts, Canvas& canvas, bool okPressed);

}  // namespace orval
