// Speech (S, --speak) through a stand-in speech-dispatcher: a small SSIP server on a socket of
// the test's own, which SPEECHD_ADDRESS points the game at. What the game shows in words is
// spoken once, in the language played; a clip's words never (the clip is heard); without
// speech asked for, the game does not even connect.
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <thread>

#include "tests/test_support.h"

namespace orval::testing {
namespace {

// What the stand-in heard: each text to speak, in the language set for it.
struct Said {
    std::string language, text;
    friend bool operator==(const Said&, const Said&) = default;
};

std::ostream& operator<<(std::ostream& out, const Said& said) {
    return out << said.language << ": \"" << said.text << "\"";
}

// SSIP's commands are read whatever their case.
std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Answers SSIP as speech-dispatcher does, enough for libspeechd: every command is OK, SPEAK
// takes the lines that follow up to a lone ".", and SET SELF LANGUAGE is remembered.
class StandInSpeechDispatcher {
  public:
    StandInSpeechDispatcher() {
        const fs::path socket = dir_.path() / "speechd.sock";
        address_ = "unix_socket:" + socket.string();
        listening_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        socket.string().copy(where.sun_path, sizeof(where.sun_path) - 1);
        if (listening_ < 0 ||
            bind(listening_, reinterpret_cast<const sockaddr*>(&where), sizeof(where)) != 0 ||
            listen(listening_, 4) != 0)
            throw std::runtime_error("the stand-in speech-dispatcher cannot listen");
        thread_ = std::thread([this] { serve(); });
    }
    ~StandInSpeechDispatcher() {
        stop_ = true;
        thread_.join();
        close(listening_);
    }

    const std::string& address() const { return address_; }
    std::vector<Said> said() {
        const std::lock_guard lock(mutex_);
        return said_;
    }
    int connections() {
        const std::lock_guard lock(mutex_);
        return connections_;
    }

  private:
    void serve() {
        while (!stop_) {
            pollfd waiting{listening_, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) continue;
            const int client = accept(listening_, nullptr, nullptr);
            if (client < 0) continue;
            {
                const std::lock_guard lock(mutex_);
                ++connections_;
            }
            talk(client);
            close(client);
        }
    }

    void talk(int client) {
        std::string pending, language = "?", text;
        bool receiving = false;
        int messages = 0;
        char buffer[4096];
        while (!stop_) {
            pollfd waiting{client, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) continue;
            const ssize_t got = read(client, buffer, sizeof(buffer));
            if (got <= 0) return;
            pending.append(buffer, static_cast<std::size_t>(got));
            for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
                std::string line = pending.substr(0, end);
                pending.erase(0, end + 2);
                std::string reply;
                if (receiving) {
                    if (line == ".") {
                        receiving = false;
                        {
                            const std::lock_guard lock(mutex_);
                            said_.push_back({language, text});
                        }
                        reply = "225-" + std::to_string(++messages) + "\r\n225 OK MESSAGE QUEUED";
                    } else {
                        if (line.starts_with("..")) line.erase(0, 1);
                        text += (text.empty() ? "" : "\n") + line;
                        continue;
                    }
                } else if (upper(line) == "SPEAK") {
                    receiving = true;
                    text.clear();
                    reply = "230 OK RECEIVING DATA";
                } else if (upper(line).starts_with("SET SELF LANGUAGE ")) {
                    language = line.substr(std::string_view("SET SELF LANGUAGE ").size());
                    reply = "201 OK LANGUAGE SET";
                } else if (upper(line) == "QUIT") {
                    reply = "231 HAPPY HACKING";
                } else {
                    reply = "200 OK";
                }
                reply += "\r\n";
                if (write(client, reply.data(), reply.size()) < 0) return;
            }
        }
    }

    TempDir dir_;
    std::string address_;
    int listening_ = -1;
    std::thread thread_;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::vector<Said> said_;
    int connections_ = 0;
};

struct Speaking {
    std::string what;
    bool speak;                     // --speak (or S kept from before)
    std::string language;           // played in
    Path steps;                     // from the main menu
    std::vector<Key> keys;          // then pressed
    std::vector<Said> spoken;       // each once, among what else the clicks' names said
    std::optional<Step> pointedAt;  // then the pointer rests there
};

TEST(Speech, WhatTheGameShowsInWordsIsSpokenOnceInTheLanguagePlayed) {
    const std::string documents = kDocuments.title + ". " + kDocuments.text;
    const std::string documentsInEnglish =
        kDocumentsInEnglish.title + ". " + kDocumentsInEnglish.text;
    const std::vector<Speaking> rows = {
        {"a box's text", true, "cs", route::brownRead, {}, {{"cs", documents}}, {}},
        {"a box's text in English",
         true,
         "en",
         route::brownRead,
         {},
         {{"en", documentsInEnglish}},
         {}},
        {"a hint, in the ringing home (the announcer's words are heard, not spoken)",
         true,
         "cs",
         route::home,
         {Key::F2},
         {{"cs", "Doma něco zvoní. Někdo vás shání."}},
         {}},
        {"a hint in English",
         true,
         "en",
         route::home,
         {Key::F2},
         {{"en", "Something is ringing at home. Someone wants you."}},
         {}},
        {"the name under the pointer",
         true,
         "cs",
         route::answered,
         {},
         {{"cs", "Jít: dveře"}},
         kHomeDoor},
        {"the name under the pointer in English",
         true,
         "en",
         route::answered,
         {},
         {{"en", "Go: door"}},
         kHomeDoor},
        {"without --speak nothing", false, "cs", route::brownRead, {Key::F2}, {}, {}},
    };
    for (const Speaking& row : rows) {
        SCOPED_TRACE(row.what);
        StandInSpeechDispatcher dispatcher;
        const ScopedEnv address("SPEECHD_ADDRESS", dispatcher.address());
        StartOptions options;
        options.language = row.language;
        options.speech = row.speak;
        {
            TestGame game(options);
            play(game, row.steps);
            for (const Key key : row.keys) game.pressKey(key);
            if (row.pointedAt) game.move(row.pointedAt->scene, row.pointedAt->x, row.pointedAt->y);
            const std::vector<Said> said = dispatcher.said();
            for (const Said& expected : row.spoken)
                EXPECT_EQ(std::count(said.begin(), said.end(), expected), 1) << expected;
            if (row.spoken.empty()) {
                EXPECT_TRUE(said.empty());
            }
        }
        EXPECT_EQ(dispatcher.connections(), row.speak ? 1 : 0);
    }
}

}  // namespace
}  // namespace orval::testing

#endif
