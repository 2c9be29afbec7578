// Wakes the game's wait when a game controller may have something to report (one was plugged in
// or out, a button or a stick moved), so that the controllers are read only then and the game
// sleeps while they rest. A file per system: where the system lets nothing watch them, SDL's
// own reading has to look at them now and then.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

namespace orval {

class PadWatch {
  public:
    // `wake` is called from a thread of the watch's own, once until the next `rearm`. The
    // system's folder of input devices, unless another is named.
    explicit PadWatch(std::function<void()> wake, const std::filesystem::path& devices = {});
    ~PadWatch();
    PadWatch(const PadWatch&) = delete;
    PadWatch& operator=(const PadWatch&) = delete;

    // Whether the watch sees the controllers on this system.
    bool watching() const;
    // The game is about to read the controllers: what they report after this wakes it again.
    void rearm();

  private:
    struct Watcher;
    std::unique_ptr<Watcher> watcher_;
};

}  // namespace orval
