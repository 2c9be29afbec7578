// What differs between the desktops the game's windows live on. Each system has a file of its
// own (desktop_x11.cpp, desktop_windows.cpp); the rest of the platform is the same everywhere.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace orval {

// Whatever the system needs kept while SDL's video runs; made before SDL starts, released after
// it has gone.
class DesktopSystem {
  public:
    // Sets the system's hints for SDL's video, before it starts.
    DesktopSystem();
    ~DesktopSystem();
    DesktopSystem(const DesktopSystem&) = delete;
    DesktopSystem& operator=(const DesktopSystem&) = delete;

    // The desktop's font resolution (X's Xft.dpi: 192 on a screen shown at 200 %), if it has one.
    std::optional<std::string> fontDpi() const;
    // Whether a window that floats above the others must be raised again over a scene brought
    // forward (where "always on top" holds by itself, it need not).
    bool raisesFloatingWindows() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orval
