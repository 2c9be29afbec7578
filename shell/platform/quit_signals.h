// The signals that ask the program to end (SIGINT, SIGTERM, SIGHUP), taken over from its first
// line: each becomes a request to quit that waits until the game's loop takes it, however early
// it came. A file per system says how (quit_signals_posix.cpp, quit_signals_none.cpp).
#pragma once

#include <functional>
#include <memory>

namespace orval {

class QuitSignals {
  public:
    // Takes the signals over for the whole process: made before any other thread starts.
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // Whether the signals are ours (SDL must then leave them alone).
    bool watching() const;
    // Whether a signal came since last asked; asking takes the request.
    bool take();
    // `wake` is called, on another thread, whenever a signal comes, until it is replaced by an
    // empty one: a wait that sleeps can then look again.
    void wakeWith(std::function<void()> wake);

  private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
};

}  // namespace orval
