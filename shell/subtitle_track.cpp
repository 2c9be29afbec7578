#include "shell/subtitle_track.h"

#include <algorithm>

namespace orval {
namespace {

// About 15 letters a second: a line stays up at least this long for each letter.
constexpr std::uint64_t kReadingMsPerLetter = 1000 / 15;

}  // namespace

void SubtitleTrack::play(std::string_view clip, const std::string& anchor, const Rect& place) {
    stop();  // a new clip cuts off the old one's words with its sound
    const auto found = captions_.find(clip);
    if (found == captions_.end()) return;
    Words words;
    words.anchor = anchor;
    words.place = place;
    const std::uint64_t start = platform_.now();
    std::uint64_t readUntil = start;  // a page is never cut short before it can be read
    // A clip's pages depend only on the window's width: laid out once, replayed instantly.
    auto& paged = paged_[{found->first, place.w}];
    if (paged.empty())
        for (const Cue& cue : found->second.cues) {
            const auto name = names_.find(cue.speaker);
            paged.push_back(pageCue(
                cue,
                name == names_.end() ? std::nullopt : std::optional<std::string_view>(name->second),
                place.w, fonts_));
        }
    for (std::size_t c = 0; c < paged.size(); ++c) {
        const Cue& cue = found->second.cues[c];
        std::vector<SubtitlePage> pages = paged[c];
        const auto name = names_.find(cue.speaker);
        const std::string said = name == names_.end() || name->second.empty()
                                     ? cue.text
                                     : name->second + ": " + cue.text;
        std::size_t letters = 0, before = 0;
        for (const SubtitlePage& page : pages) letters += page.letters;
        for (SubtitlePage& page : pages) {
            // Pages of one cue share its time by their letters.
            const std::uint64_t due =
                start + cue.startMs +
                (cue.endMs - cue.startMs) * before / std::max<std::size_t>(letters, 1);
            const std::uint64_t at = std::max(due, readUntil);
            before += page.letters;
            readUntil = at + page.letters * kReadingMsPerLetter;
            words.showAt.push_back(at);
            words.pages.push_back(std::move(page));
            words.said.push_back(said);
            words.cue.push_back(c);
        }
        words.hideAt = std::max(start + cue.endMs, readUntil);
    }
    if (words.pages.empty()) return;
    words_ = std::move(words);
    advance();
}

void SubtitleTrack::stop() {
    if (!words_) return;
    const std::optional<WindowId> window = words_->window;
    words_.reset();
    if (window) platform_.closeWindow(*window);
}

void SubtitleTrack::sceneGone(std::string_view scene) {
    if (words_ && words_->anchor == scene) stop();
}

void SubtitleTrack::turn(bool on) {
    on_ = on;
    present();
}

void SubtitleTrack::raise() {
    if (words_ && words_->window) platform_.showWindow(*words_->window);
}

std::optional<std::uint64_t> SubtitleTrack::nextChange() const {
    if (!words_) return std::nullopt;
    const std::size_t next = words_->current ? *words_->current + 1 : 0;
    return next < words_->showAt.size() ? words_->showAt[next] : words_->hideAt;
}

void SubtitleTrack::advance() {
    if (!words_) return;
    const std::uint64_t now = platform_.now();
    if (now >= words_->hideAt) {
        stop();
        return;
    }
    std::optional<std::size_t> page;
    for (std::size_t i = 0; i < words_->showAt.size() && words_->showAt[i] <= now; ++i) page = i;
    if (page == words_->current) return;
    const std::optional<std::size_t> before = words_->current;
    words_->current = page;
    // A screen reader hears each cue once, whole, as its first page comes up, T on or off.
    if (page && (!before || words_->cue[*page] != words_->cue[*before]))
        platform_.announce({Announcement::Kind::Subtitle, words_->said[*page], language_});
    present();
}

void SubtitleTrack::present() {
    if (!words_) return;
    Words& words = *words_;
    if (!on_ || !words.current) {
        if (words.window) platform_.closeWindow(*std::exchange(words.window, std::nullopt));
        return;
    }
    if (words.window) {
        platform_.invalidate(*words.window);
        return;
    }
    // Right below the window of the scene that spoke, as wide; above it where the screen ends
    // below it.
    const Rect& scene = words.place;
    const Rect screen = platform_.usableBounds();
    WindowRequest request;
    request.kind = WindowKind::Subtitles;
    request.title = title_;
    request.x = scene.x;
    request.width = scene.w;
    request.height = subtitleHeight(fonts_);
    request.y = scene.y + scene.h;
    if (request.y + request.height > screen.y + screen.h) request.y = scene.y - request.height;
    if (request.y < screen.y) request.y = screen.y + screen.h - request.height;
    words.at = {request.x, request.y, request.width, request.height};
    words.window = platform_.openWindow(request, *this);
    platform_.invalidate(*words.window);
    platform_.showWindow(*words.window);
}

std::optional<SubtitleTrack::Shown> SubtitleTrack::shown() const {
    if (!words_ || !words_->window || !words_->current) return std::nullopt;
    const SubtitlePage& page = words_->pages[*words_->current];
    return Shown{*words_->window, std::string(page.speaker->key), page.words};
}

std::optional<Rect> SubtitleTrack::area() const {
    if (!words_ || !words_->window) return std::nullopt;
    return words_->at;
}

void SubtitleTrack::paint(WindowId, Canvas& canvas) {
    if (words_ && words_->current) renderSubtitle(words_->pages[*words_->current], fonts_, canvas);
}

}  // namespace orval
