// Game controllers as the game reads them, whoever reads the hardware: the left stick glides
// the pointer and A is its button, as the mouse's; the other buttons are handed up as they are,
// for the binding table to say what they ask. The SDL platforms and the headless twin feed the
// same GamePads.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "scenes/model/geometry.h"
#include "shell/platform/platform.h"

namespace orval {

// What one controller reported.
struct PadEvent {
    enum class Kind { Plugged, Unplugged, Pressed, Released, Stick };
    Kind kind = Kind::Plugged;
    int pad = 0;  // which controller: the system's number for it while it is plugged in
    PadButton button = PadButton::A;
    int x = 0, y = 0;  // the left stick, -32768 to 32767 each way; right and down are positive
};

class GamePads {
  public:
    // Between two moves of the gliding pointer: as often as the screen shows a new picture.
    static constexpr std::uint64_t kFrameMs = 16;

    // The game's input a report makes, not yet addressed to a window: a press or release of A
    // is the mouse's button wherever the pointer is, a press of another button is for the
    // window in front. Nothing for the rest (a plug, the stick, a button let go).
    std::optional<InputEvent> take(const PadEvent& event, std::uint64_t now);

    // When the pointer moves next, while a stick is held away from its rest.
    std::optional<std::uint64_t> nextGlide() const;
    // The pointer at `from` moved by the sticks for the time since its last move, kept inside
    // `area` (logical pixels); a pixel's fraction is kept for the next move.
    Point glide(Point from, const Rect& area, std::uint64_t now);

  private:
    struct Stick {
        double x = 0, y = 0;                 // past the dead zone, -1 to 1 each way
        std::optional<std::uint64_t> since;  // when it left its rest
    };

    std::map<int, Stick> sticks_;
    std::optional<std::uint64_t> lastGlide_;
    double carryX_ = 0, carryY_ = 0;
};

}  // namespace orval
