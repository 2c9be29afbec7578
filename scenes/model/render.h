// Drawing a scene window from its description and its current flags.
#pragma once

#include <optional>

#include "scenes/model/canvas.h"
#include "scenes/model/names.h"
#include "scenes/model/pictures.h"
#include "scenes/model/state.h"
#include "scenes/model/text.h"

namespace orval {

struct RenderOptions {
    bool buttonHasFocus = false;    // draw the focus mark on the command button
    bool outlineHotspots = false;   // snapshots: outline and name every control that takes clicks
    bool markHotspots = false;      // the player's aid: each hotspot a click reaches, outlined,
                                    // with its cursor's picture in the middle
    std::optional<Rect> focusRing;  // the keyboard's mark: a ring around this area
    bool soundOff = false;          // the crossed speaker in the upper right corner
    // The name line of the hotspot under the pointer or the mark, and where its plate lies.
    struct ShownName {
        NameLine line;
        Rect place;
    };
    std::optional<ShownName> nameLine;
};

// The picture of the crossed speaker, and how far it stays from the window's edges.
inline constexpr const char* kSoundOffPicture = "pictures/sound-off.png";
inline constexpr int kSoundOffMargin = 6;

// Draws the whole client area of the scene into `canvas` (which has the client size).
void renderScene(const SceneDescription& scene, const SceneFlags& flags,
                 const PictureStore& pictures, Fonts& fonts, Canvas& canvas,
                 const RenderOptions& options = {});

// The message box the game draws itself: title bar, information icon, wrapped text, OK.
struct MessageBoxLayout {
    int width = 0, height = 0;
    Rect okButton;
};
MessageBoxLayout layoutMessageBox(std::string_view title, std::string_view text, Fonts& fonts);
// What every box of the game's own shares: a light face in an azure frame under a title bar,
// the body's face, and an OK button (pushed in while it is held down).
inline constexpr int kBoxTitleHeight = 24;
inline const Font kBoxFont{"", 12, false, false};
inline const Font kBoxBoldFont{"", 12, true, false};
void drawBoxFrame(std::string_view title, Fonts& fonts, Canvas& canvas);
void drawOkButton(const Rect& button, bool pressed, Fonts& fonts, Canvas& canvas,
                  std::string_view ok = "OK");

void renderMessageBox(std::string_view title, std::string_view text, Fonts& fonts, Canvas& canvas,
                      bool okPressed, std::string_view ok = "OK");

}  // namespace orval
