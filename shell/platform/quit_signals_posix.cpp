// The quit signals blocked in every thread and received by one thread of their own (sigwait):
// no handler runs at an unsafe moment, none is lost before SDL or the game's loop is up, and a
// signal that comes while the loop sleeps wakes it.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "shell/platform/quit_signals.h"

namespace orval {
namespace {

sigset_t quitSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

// A child the program starts (the web browser through xdg-open) must not inherit the block.
void unblockInChild() {
    const sigset_t set = quitSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace

struct QuitSignals::Watch {
    std::atomic<bool> requested{false};
    std::atomic<bool> stopping{false};
    std::mutex mutex;  // guards `wake`, so that it is never called while being replaced
    std::function<void()> wake;
    std::thread thread;

    void receive() {
        const sigset_t set = quitSet();
        while (true) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0) continue;
            if (stopping) return;
            requested = true;
            const std::lock_guard<std::mutex> lock(mutex);
            if (wake) wake();
        }
    }
};

QuitSignals::QuitSignals() : watch_(std::make_unique<Watch>()) {
    const sigset_t set = quitSet();
    // Threads started from here on (SDL's, the sound's) inherit the block.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    pthread_atfork(nullptr, nullptr, unblockInChild);
    watch_->thread = std::thread([watch = watch_.get()] { watch->receive(); });
}

QuitSignals::~QuitSignals() {
    watch_->stopping = true;
    pthread_kill(watch_->thread.native_handle(), SIGTERM);
    watch_->thread.join();
    // The signals stay blocked: one in the last moments of the exit must not turn a clean end
    // into a kill.
}

bool QuitSignals::watching() const { return true; }

bool QuitSignals::take() { return watch_->requested.exchange(false); }

void QuitSignals::wakeWith(std::function<void()> wake) {
    const std::lock_guard<std::mutex> lock(watch_->mutex);
    watch_->wake = std::move(wake);
}

}  // namespace orval
