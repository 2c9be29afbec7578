// A system without POSIX signals: the session's own ways of ending (closing a window, the
// console's Ctrl+C as SDL reports it) are all there is.
#include "shell/platform/quit_signals.h"

namespace orval {

struct QuitSignals::Watch {};

QuitSignals::QuitSignals() = default;
QuitSignals::~QuitSignals() = default;
bool QuitSignals::watching() const { return false; }
bool QuitSignals::take() { return false; }
void QuitSignals::wakeWith(std::function<void()>) {}

}  // namespace orval
