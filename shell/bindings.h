// What the player can ask of the game, and the one table that says which key or controller
// button asks for what. The platform hands up keys and buttons as they are; the runtime and the
// message box read their meaning here, and the card of the controls lists this table.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "scenes/model/controls_card.h"
#include "scenes/model/language.h"
#include "shell/platform/platform.h"

namespace orval {

// Something the player asks of the game with a key or a button. A new one (the names, the
// notebook, a hint) is a name here and a line of the table.
enum class Action {
    Activate,         // a click on the spot the mark stands on; without a mark the command button
    Cancel,           // closes a box, as its OK does
    NextHotspot,      // the mark to the next spot in reading order
    PreviousHotspot,  // and back
    Left,             // the mark to the nearest spot that way
    Right,
    Up,
    Down,
    SkipLine,          // enough of this line: its sound and its words end together
    ToggleSubtitles,   // T
    ToggleSound,       // M
    ShowHotspots,      // H: outlines every spot a click reaches
    ShowControls,      // F1: this card
    Start,             // the menu's first entry, elsewhere the command button
    ToggleFullscreen,  // the stage's window
    NextWindow,        // the next of the game's windows to the front, on the stage
    ToggleNames,       // L: the name line under the pointer
    OpenNotebook,      // N: what was said, and the hints; N again closes it
    AskHint,           // F2: one more step of the hint, in the notebook
    ToggleSpeech,      // S: every announcement spoken aloud, on the desktop
};

// A key with the modifiers it asks for (others held as well do not matter), or a button.
struct KeyChord {
    Key key;
    Modifiers with;
};
struct Binding {
    std::variant<KeyChord, PadButton> input;
    Action action;
};

// A line of the card of the controls: the keys or buttons as the card names them, what they do,
// and the bindings it speaks of. A line without words stays off the card.
struct BindingLine {
    std::string keys, does;
    std::vector<Binding> bindings;
};
struct BindingColumn {
    std::string heading;
    std::vector<BindingLine> lines;
};

// Every binding of the game, the keyboard's column first, in Czech as the card shows them.
const std::vector<BindingColumn>& bindingTable();

// What a key asks for with these modifiers held. Where several bindings fit, the one asking for
// the weightiest modifiers wins (Alt over Ctrl over Shift over none): Alt+Enter is the
// fullscreen, Ctrl+Shift+Tab the next window.
std::optional<Action> actionOf(Key key, Modifiers held);
std::optional<Action> actionOf(PadButton button);
// What a key or a button event asks for; nothing for the mouse, a close request or a quit.
std::optional<Action> actionOf(const InputEvent& event);

// The card of the controls, listing the table: its Czech words, and in the player's language.
const ControlsCard& controlsCard();
ControlsCard controlsCard(const Language& language);

}  // namespace orval
