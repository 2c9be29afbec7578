#include "shell/bindings.h"

namespace orval {
namespace {

constexpr Modifiers kShift{.shift = true}, kCtrl{.ctrl = true}, kAlt{.alt = true};

// A line of the table each, read as the card reads: the key, then what it asks.
Binding key(Key k, Action action, Modifiers with = {}) { return {KeyChord{k, with}, action}; }
Binding pad(PadButton button, Action action) { return {button, action}; }

// How much a binding's modifiers weigh when several fit the keys held.
int weight(Modifiers with) {
    return (with.alt ? 4 : 0) + (with.ctrl ? 2 : 0) + (with.shift ? 1 : 0);
}

// Whether every modifier the binding asks for is held.
bool holds(Modifiers held, Modifiers with) {
    return (held.shift || !with.shift) && (held.ctrl || !with.ctrl) && (held.alt || !with.alt);
}

}  // namespace

const std::vector<BindingColumn>& bindingTable() {
    using enum Action;
    static const std::vector<BindingColumn> table{
        {"Klávesnice",
         {
             {"Tab, Shift+Tab",
              "označí další, předchozí místo",
              {key(Key::Tab, NextHotspot), key(Key::Tab, PreviousHotspot, kShift)}},
             {"šipky",
              "označí nejbližší místo tím směrem",
              {key(Key::Left, Left), key(Key::Right, Right), key(Key::Up, Up),
               key(Key::Down, Down)}},
             {"Enter",
              "klepne na označené místo",
              {key(Key::Enter, Activate), key(Key::KeypadEnter, Activate)}},
             {"mezerník", "ukončí mluvenou větu", {key(Key::Space, SkipLine)}},
             {"T", "zapne a vypne titulky", {key(Key::T, ToggleSubtitles)}},
             {"M", "vypne a zapne zvuk", {key(Key::M, ToggleSound)}},
             {"H", "ukáže, kam lze klepnout", {key(Key::H, ShowHotspots)}},
             {"F1", "tato karta", {key(Key::F1, ShowControls)}},
             {"F11, Alt+Enter",
              "celá obrazovka (hra v jednom okně)",
              {key(Key::F11, ToggleFullscreen), key(Key::Enter, ToggleFullscreen, kAlt),
               key(Key::KeypadEnter, ToggleFullscreen, kAlt)}},
             {"Ctrl+Tab", "další okno hry (hra v jednom okně)", {key(Key::Tab, NextWindow, kCtrl)}},
             // Escape answers a box, as the desktop's own boxes are answered; not on the card.
             {"", "", {key(Key::Escape, Cancel)}},
             {"L", "zapne a vypne jména věcí", {key(Key::L, ToggleNames)}},
             {"N", "zápisník: co zaznělo, nápověda", {key(Key::N, OpenNotebook)}},
             {"F2", "nápověda: další krok", {key(Key::F2, AskHint)}},
             {"S", "zapne a vypne předčítání", {key(Key::S, ToggleSpeech)}},
         }},
        {"Ovladač",
         {
             // The stick and A are the controller's pointer: the platform glides it and
             // presses it where it is, as the mouse's own.
             {"levá páčka", "posouvá ukazatel", {}},
             {"křížový ovladač",
              "jako šipky",
              {pad(PadButton::Up, Up), pad(PadButton::Down, Down), pad(PadButton::Left, Left),
               pad(PadButton::Right, Right)}},
             {"A", "klepne", {}},
             {"B", "jako mezerník", {pad(PadButton::B, SkipLine)}},
             {"X", "jako T", {pad(PadButton::X, ToggleSubtitles)}},
             {"Y", "jako H", {pad(PadButton::Y, ShowHotspots)}},
             {"Back", "jako M", {pad(PadButton::Back, ToggleSound)}},
             {"Start", "v nabídce začne hru", {pad(PadButton::Start, Start)}},
             {"stisk levé páčky", "jako L", {pad(PadButton::LeftStick, ToggleNames)}},
             {"LB", "jako N", {pad(PadButton::LeftShoulder, OpenNotebook)}},
             {"RB", "jako F2", {pad(PadButton::RightShoulder, AskHint)}},
         }},
    };
    return table;
}

std::optional<Action> actionOf(Key key, Modifiers held) {
    const Binding* best = nullptr;
    for (const BindingColumn& column : bindingTable())
        for (const BindingLine& line : column.lines)
            for (const Binding& binding : line.bindings) {
                const KeyChord* chord = std::get_if<KeyChord>(&binding.input);
                if (!chord || chord->key != key || !holds(held, chord->with)) continue;
                if (!best || weight(chord->with) > weight(std::get<KeyChord>(best->input).with))
                    best = &binding;
            }
    if (!best) return std::nullopt;
    return best->action;
}

std::optional<Action> actionOf(PadButton button) {
    for (const BindingColumn& column : bindingTable())
        for (const BindingLine& line : column.lines)
            for (const Binding& binding : line.bindings)
                if (const PadButton* b = std::get_if<PadButton>(&binding.input); b && *b == button)
                    return binding.action;
    return std::nullopt;
}

std::optional<Action> actionOf(const InputEvent& event) {
    switch (event.type) {
        case InputEvent::Type::Key:
            return actionOf(event.key, event.modifiers);
        case InputEvent::Type::Pad:
            return actionOf(event.button);
        default:
            return std::nullopt;
    }
}

const ControlsCard& controlsCard() {
    // Made once from the table, so that the card cannot say what no key does.
    static const ControlsCard card = [] {
        ControlsCard listed{"Ovládání", {}};
        for (const BindingColumn& column : bindingTable()) {
            ControlsCard::Column& shown = listed.columns.emplace_back();
            shown.heading = column.heading;
            for (const BindingLine& line : column.lines)
                if (!line.keys.empty()) shown.rows.push_back({line.keys, line.does});
        }
        return listed;
    }();
    return card;
}

ControlsCard controlsCard(const Language& language) {
    ControlsCard card = controlsCard();
    card.title = language.text(kCardTitle, card.title);
    for (ControlsCard::Column& column : card.columns) {
        column.heading = language.text(kCardHeading, column.heading);
        for (ControlsCard::Row& row : column.rows) {
            row.keys = language.text(kCardKeys, row.keys);
            row.does = language.text(kCardDoes, row.does);
        }
    }
    return card;
}

}  // namespace orval
