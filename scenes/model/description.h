// The immutable description of one scene window: its own fields and its controls.
// Descriptions are read once from data/scenes/*.toml and shared by every load of the scene.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "scenes/model/geometry.h"

namespace orval {

// 15 twips are one logical pixel; every stored length is a multiple of 15.
inline constexpr int kTwipsPerPixel = 15;

enum class ControlKind { PictureBox, Image, Label, CommandButton, Timer, Shape };

struct Font {
    std::string face;
    double points = 0;
    bool bold = false;
    bool italic = false;
};

// Names the mouse-event kinds a description can bind to a handler.
enum class EventKind { Click, MouseMove, Timer, Load };

struct ControlDescription {
    std::string name;
    ControlKind kind = ControlKind::PictureBox;
    int parent = -1;  // index of the holding picture box, -1 for the scene itself
    Rect rect;        // pixels; a timer's design position only
    bool visible = true;
    bool enabled = true;
    int tabIndex = 0;

    // Kind-specific fields; unused ones stay empty.
    std::string picture;  // path relative to the data directory
    std::optional<Colour> backColour;
    std::optional<Colour> foreColour;
    std::string caption;
    Font font;
    bool opaque = true;    // label BackStyle: true paints BackColor first
    bool centred = false;  // a label of one line in its middle (the menu's language marks)
    std::string cursor;    // shared cursor name, empty = standard arrow
    int intervalMs = 0;    // timers
    Colour borderColour;   // shapes

    std::map<EventKind, std::string> handlers;  // event -> handler name

    // What the player calls it ("telefon", "Konec hry"): every control that does something has
    // a name, which the name line shows and a screen reader says.
    std::string called;
    // Whether it shows its own words (scenes/model/names.h: showsOwnWords), where the data says.
    std::optional<bool> ownWords;

    // The template of the marks of the languages (ForEachLanguage): the game repeats this label
    // for every language it speaks, framed, side by side; none on any other control.
    struct LanguageMarks {
        int gap = 0;  // pixels between two marks
        Colour border, chosenFore, chosenBack;
    };
    std::optional<LanguageMarks> forEachLanguage;
    std::string language;  // the language a mark made from the template stands for
};

// What the game asks of a scene beyond being shown (its Roles).
struct SceneRoles {
    bool first = false;      // the game opens with it, under its GameTitle
    bool menu = false;       // the main menu: Start chooses its first entry
    bool inventory = false;  // floats over the places: a clip's words and the focus mark belong
                             // to the place below; it shows the sound turned off
    bool won = false;        // showing it wins the game: where the hints lead
};

enum class Placement { Manual, CentreOwner, CentreScreen };

struct SceneDescription {
    std::string name;
    std::string file;  // where it was read from, for error messages
    std::string caption;
    std::optional<Colour> backColour;
    std::string picture;
    std::string icon;
    int clientWidth = 0, clientHeight = 0;  // pixels
    int clientLeft = 0, clientTop = 0;      // pixels, used with Placement::Manual
    Placement placement = Placement::CentreScreen;
    std::vector<ControlDescription> controls;   // description order: earlier lies in front
    std::map<EventKind, std::string> handlers;  // scene events: Load, MouseMove
    SceneRoles roles;
    std::string gameTitle;  // the first scene's: the game's name, the stage's title

    // Index of the control with this name, or -1.
    int find(std::string_view controlName) const;
};

// The scenes that have the game's roles, by name (empty where none has one), and the game's name.
struct GameRoles {
    std::string first, menu, inventory, won, title;
};

// A name longer than this is no name of a thing but a sentence: the loader refuses it.
inline constexpr std::size_t kMaxNameLetters = 40;

// A control the player means when he points at it: one that a click or the pointer sets going.
// Every such control has a name.
inline bool doesSomething(const ControlDescription& c) {
    return c.handlers.contains(EventKind::Click) || c.handlers.contains(EventKind::MouseMove);
}

// Whether the control shows its own words (a menu entry, a button, a line of the
// conversation), which are its name: it needs no name line, and a first touch acts at once.
inline bool showsOwnWords(const ControlDescription& c) {
    return c.ownWords.value_or(c.kind == ControlKind::Label ||
                               c.kind == ControlKind::CommandButton);
}

const char* toString(ControlKind kind);
const char* toString(EventKind kind);

}  // namespace orval
