// Speech for players who cannot see the screen: every announcement but a clip's words (the clip
// is heard) read aloud, in the language played, by the desktop's speech service. On Linux that
// is a running speech-dispatcher, reached through libspeechd (speech_speechd.cpp), which the
// game never starts itself; elsewhere there is none (speech_none.cpp).
#pragma once

#include <memory>
#include <string>

#include "shell/platform/platform.h"

namespace orval {

class Speech {
  public:
    Speech();
    ~Speech();
    Speech(const Speech&) = delete;
    Speech& operator=(const Speech&) = delete;

    // On (S, --speak): the first time, the speech service is reached; where it cannot be, one
    // line on stderr says so and the game plays on in silence.
    void turn(bool on) {
        on_ = on;
        if (!on_ || tried_) return;
        tried_ = true;
        reach();
    }
    bool on() const { return on_; }
    // Speaks it when on, cutting off what was being said; a subtitle never.
    void announce(const Announcement& announcement);

  private:
    // Looks for this system's speech service, once: kept in service_ where it answers.
    void reach();

    struct Service;  // the connection of this system, where it has one
    std::unique_ptr<Service> service_;
    bool on_ = false;
    bool tried_ = false;  // the service was looked for once
};

}  // namespace orval
