// Speech through a running speech-dispatcher, by libspeechd: its address from SPEECHD_ADDRESS
// or the user's default socket, never started by the game (autospawn off).
#include <libspeechd.h>

#include <cstdio>
#include <cstdlib>

#include "shell/platform/speech.h"

namespace orval {

struct Speech::Service {
    struct Closer {
        void operator()(SPDConnection* connection) const { spd_close(connection); }
    };
    std::unique_ptr<SPDConnection, Closer> connection;
    std::string language;  // set on the connection last
};

Speech::Speech() = default;
Speech::~Speech() = default;

void Speech::reach() {
    char* error = nullptr;
    SPDConnection* opened =
        spd_open2("orval-kesk", "main", nullptr, SPD_MODE_SINGLE, nullptr, 0, &error);
    if (!opened) {
        std::fprintf(stderr, "orval-kesk: no speech: speech-dispatcher does not answer (%s)\n",
                     error ? error : "no reason given");
        std::free(error);
        return;
    }
    std::free(error);
    service_ = std::make_unique<Service>();
    service_->connection.reset(opened);
}

void Speech::announce(const Announcement& announcement) {
    if (!on_ || !service_ || announcement.kind == Announcement::Kind::Subtitle ||
        announcement.text.empty())
        return;
    SPDConnection* connection = service_->connection.get();
    if (announcement.language != service_->language) {
        spd_set_language(connection, announcement.language.c_str());
        service_->language = announcement.language;
    }
    // The newest words matter: what the pointer left, or the box answered, is old news.
    spd_cancel(connection);
    if (spd_say(connection, SPD_TEXT, announcement.text.c_str()) < 0) {
        // The service went away: said once, and the game plays on in silence.
        std::fprintf(stderr, "orval-kesk: speech-dispatcher stopped answering; no more speech\n");
        service_.reset();
    }
}

}  // namespace orval
