#include "scenes/model/controls_card.h"

#include <algorithm>

namespace orval {
namespace {

constexpr int kMargin = 16;
constexpr int kColumnGap = 28;  // between the keyboard's column and the controller's
constexpr int kKeyGap = 12;     // between a key and what it does
constexpr int kHeadingGap = 6;  // below a column's heading
constexpr int kRowGap = 3;      // between two rows
constexpr Colour kHeading{17, 116, 225};
constexpr Colour kText{0, 0, 0};

// Where each column's keys and their meanings start, and how tall the columns are.
struct Columns {
    std::vector<int> x, doesX;
    int width = 0, height = 0;
};

Columns measureColumns(const ControlsCard& card, Fonts& fonts) {
    Columns columns;
    const int line = fonts.lineHeight(kBoxFont) + kRowGap;
    int x = kMargin;
    for (const ControlsCard::Column& column : card.columns) {
        int keys = 0, does = 0;
        for (const ControlsCard::Row& row : column.rows) {
            keys = std::max(keys, fonts.measure(kBoxBoldFont, row.keys));
            does = std::max(does, fonts.measure(kBoxFont, row.does));
        }
        const int width =
            std::max(fonts.measure(kBoxBoldFont, column.heading), keys + kKeyGap + does);
        columns.x.push_back(x);
        columns.doesX.push_back(x + keys + kKeyGap);
        x += width + kColumnGap;
        columns.height =
            std::max(columns.height, static_cast<int>(column.rows.size() + 1) * line + kHeadingGap);
    }
    columns.width = x - kColumnGap + kMargin;
    return columns;
}

}  // namespace

MessageBoxLayout layoutControlsCard(const ControlsCard& card, Fonts& fonts) {
    const Columns columns = measureColumns(card, fonts);
    MessageBoxLayout layout;
    layout.width = std::max(columns.width, fonts.measure(kBoxBoldFont, card.title) + 2 * kMargin);
    layout.okButton = {0, kBoxTitleHeight + kMargin + columns.height + kMargin, 88, 26};
    layout.okButton.x = (layout.width - layout.okButton.w) / 2;
    layout.height = layout.okButton.y + layout.okButton.h + 14;
    return layout;
}

void renderControlsCard(const ControlsCard& card, Fonts& fonts, Canvas& canvas, bool okPressed,
                        std::string_view ok) {
    const Columns columns = measureColumns(card, fonts);
    const MessageBoxLayout layout = layoutControlsCard(card, fonts);
    const Rect all = canvas.bounds();
    const int line = fonts.lineHeight(kBoxFont) + kRowGap;
    drawBoxFrame(card.title, fonts, canvas);
    for (std::size_t c = 0; c < card.columns.size(); ++c) {
        const ControlsCard::Column& column = card.columns[c];
        int y = kBoxTitleHeight + kMargin;
        fonts.drawLine(canvas, kBoxBoldFont, column.heading, kHeading, columns.x[c], y, all);
        y += line + kHeadingGap;
        for (const ControlsCard::Row& row : column.rows) {
            fonts.drawLine(canvas, kBoxBoldFont, row.keys, kText, columns.x[c], y, all);
            fonts.drawLine(canvas, kBoxFont, row.does, kText, columns.doesX[c], y, all);
            y += line;
        }
    }
    drawOkButton(layout.okButton, okPressed, fonts, canvas, ok);
}

}  // namespace orval
