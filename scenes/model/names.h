// The name line under the pointer ("Použít: telefon"): the verb the hotspot's cursor stands for
// and the name its description gives the thing (ControlDescription::called).
#pragma once

#include <optional>
#include <string>

#include "scenes/model/description.h"
#include "scenes/model/geometry.h"
#include "scenes/model/language.h"
#include "scenes/model/text.h"

namespace orval {

// The verbs of the cursors, as the name line begins; none for a cursor that names no deed (the
// arrow, the quit cursor of the "X").
inline constexpr FixedText kVerbTalk{"name line: talk", "Mluvit"};
inline constexpr FixedText kVerbWalk{"name line: walk", "Jít"};
inline constexpr FixedText kVerbUse{"name line: use", "Použít"};
inline constexpr FixedText kVerbLook{"name line: look", "Prohlédnout"};
inline constexpr FixedText kVerbTake{"name line: take", "Vzít"};
inline constexpr FixedText kVerbs[] = {kVerbTalk, kVerbWalk, kVerbUse, kVerbLook, kVerbTake};
std::optional<FixedText> verbOf(std::string_view cursor);

// What the name line says of a control, in the language of its (localised) description: its
// verb, if its cursor has one, and its name.
struct NameLine {
    std::string verb, name;
    // "Použít: telefon", or the name alone: what a screen reader hears.
    std::string said() const { return verb.empty() ? name : verb + ": " + name; }
};
NameLine nameLineOf(const ControlDescription& c, const Language& language);

// The plate's look: the game's pale azure with navy words (contrast above 10:1) in a deep azure
// frame.
inline constexpr Colour kNamePlate{169, 213, 245};
inline constexpr Colour kNameWords{0, 0, 128};
inline constexpr Colour kNameFrame{17, 116, 225};
inline const Font kNameFont{"", 12, false, false};
inline const Font kNameVerbFont{"", 12, true, false};

// The plate that shows the line, at the window's corner (only its size matters).
Rect nameLinePlate(const NameLine& line, Fonts& fonts);
// Where the plate lies in a window of `width` x `height`: near the hotspot (below it, else
// above, else beside it), never over it or the focus ring around it nor over `avoid` (the
// subtitles where they lie over the window), always inside the window.
Rect placeNameLine(int width, int height, const Rect& hotspot, const Rect& plate,
                   const std::optional<Rect>& avoid = std::nullopt);
// Draws the plate and its words.
void drawNameLine(const NameLine& line, const Rect& place, Fonts& fonts, Canvas& canvas);

}  // namespace orval
