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

    // Index of the control with this name, or -1.
    int find(std::string_view controlName) const;
};

const char* toString(ControlKind kind);
const char* toString(EventKind kind);

}  // namespace orval
