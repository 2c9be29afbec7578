// The words of the clip playing: its cues cut into pages for the width of the window that spoke,
// turned on the game's clock, and shown in the "Titulky" window right below that window.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenes/model/captions.h"
#include "scenes/model/language.h"
#include "scenes/model/subtitles.h"
#include "scenes/model/text.h"
#include "shell/platform/platform.h"

namespace orval {

class SubtitleTrack final : private WindowPainter {
  public:
    SubtitleTrack(Platform& platform, Fonts& fonts) : platform_(platform), fonts_(fonts) {}
    ~SubtitleTrack() override { stop(); }
    SubtitleTrack(const SubtitleTrack&) = delete;
    SubtitleTrack& operator=(const SubtitleTrack&) = delete;

    void setCaptions(Captions captions) {
        captions_ = std::move(captions);
        paged_.clear();
    }
    // The words of the window's title and of the speakers' names (by key) in the player's
    // language (its code, for the screen reader); the pages laid out before go.
    void setWording(std::string title, std::map<std::string, std::string, std::less<>> names,
                    std::string language) {
        title_ = std::move(title);
        names_ = std::move(names);
        language_ = std::move(language);
        paged_.clear();
    }
    bool hasCaptions() const { return !captions_.empty(); }
    // Every clip's words in the language spoken (the notebook writes down what was said).
    const Captions& captions() const { return captions_; }

    // Starts the words of the clip `clip` (its file name), cutting off the words playing. They
    // belong to the scene `anchor`, whose window lies at `place`. A clip without cues shows
    // nothing. Throws when the words cannot be laid out (no font).
    void play(std::string_view clip, const std::string& anchor, const Rect& place);
    // The words end now, with their window.
    void stop();
    // The words go with the scene they belong to.
    void sceneGone(std::string_view scene);
    // T: subtitles off or on; turned on mid-clip, the current page shows.
    void turn(bool on);
    bool on() const { return on_; }
    // Keeps the words above a scene the player just brought forward.
    void raise();

    // When the next page comes up or the last one goes, if any.
    std::optional<std::uint64_t> nextChange() const;
    // Turns the pages that are due.
    void advance();

    // The page the window shows now, for tests and tools.
    struct Shown {
        WindowId window = 0;
        std::string speaker;  // the speaker's key in the captions
        std::string words;
    };
    std::optional<Shown> shown() const;
    // Where the window lies on the screen (logical pixels) while it shows.
    std::optional<Rect> area() const;

  private:
    // One clip's words, page by page, on the game's clock.
    struct Words {
        std::string anchor;
        Rect place;  // the anchor's window
        std::vector<SubtitlePage> pages;
        std::vector<std::size_t> cue;       // each page's cue
        std::vector<std::string> said;      // each page's cue whole, with its speaker's name
        std::vector<std::uint64_t> showAt;  // when each page comes up
        std::uint64_t hideAt = 0;           // when the last one goes
        std::optional<std::size_t> current;
        std::optional<WindowId> window;  // while a page shows and subtitles are on
        Rect at;                         // where the window lies
    };

    void paint(WindowId window, Canvas& canvas) override;
    // Opens, repaints or closes the window to match the page and the T key.
    void present();

    Platform& platform_;
    Fonts& fonts_;
    Captions captions_;
    std::string title_{kSubtitlesTitle.czech};
    std::map<std::string, std::string, std::less<>> names_;
    std::string language_{kCzech};
    std::optional<Words> words_;
    // Each clip's pages, cue by cue, for a window width.
    std::map<std::pair<std::string, int>, std::vector<std::vector<SubtitlePage>>> paged_;
    bool on_ = true;
};

}  // namespace orval
