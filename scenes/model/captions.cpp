#include "scenes/model/captions.h"

#include <algorithm>
#include <set>

#include "scenes/model/data_file.h"
#include "scenes/model/loader.h"
#include "scenes/model/text_lines.h"
#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

constexpr std::uintmax_t kMaxCaptionBytes = 1 << 20;
constexpr std::uint32_t kMaxClipMs = 60'000;
// Half a minute of reading: no line of a clip needs more, and paging it stays within a frame.
constexpr std::size_t kMaxCueLetters = 500;

// Splits a line at its tabs.
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0;;) {
        const std::size_t tab = line.find('\t', at);
        out.push_back(line.substr(at, tab - at));
        if (tab == std::string_view::npos) return out;
        at = tab + 1;
    }
}

// Seconds written as digits with at most three decimals, in milliseconds; nothing otherwise.
std::optional<std::uint32_t> milliseconds(std::string_view text) {
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view part = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 4 || !digits(whole) || part.size() > 3 || !digits(part) ||
        (dot != std::string_view::npos && part.empty()))
        return std::nullopt;
    std::uint32_t ms = 0;
    for (const char c : whole) ms = ms * 10 + static_cast<std::uint32_t>(c - '0');
    std::uint32_t fraction = 0;
    for (std::size_t i = 0; i < 3; ++i)
        fraction =
            fraction * 10 + (i < part.size() ? static_cast<std::uint32_t>(part[i] - '0') : 0);
    return ms * 1000 + fraction;
}

}  // namespace

std::size_t countLetters(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

const std::vector<Speaker>& speakers() {
    static const std::vector<Speaker> all = {
        {"agent", "Agent", {95, 176, 237}, std::nullopt},
        {"brown", "Mr. Brown", {205, 140, 82}, std::nullopt},
        {"green", "Mr. Green", {92, 208, 96}, std::nullopt},
        {"black", "Mr. Black", {46, 46, 51}, Colour{214, 214, 220}},
        {"clerk", "Úředník", {232, 200, 74}, std::nullopt},
        {"announcer", "Hlasatelka", {240, 140, 192}, std::nullopt},
        {"operator", "Spojovatelka", {240, 168, 96}, std::nullopt},
        {"tv", "Televize", {184, 164, 240}, std::nullopt},
        {"effect", "", {200, 200, 200}, std::nullopt},
    };
    return all;
}

const Speaker* findSpeaker(std::string_view key) {
    for (const Speaker& s : speakers())
        if (s.key == key) return &s;
    return nullptr;
}

Captions parseCaptions(std::string_view text, const std::string& fileName,
                       const std::vector<std::string>& clips) {
    int number = 0;
    const auto fail = [&](const std::string& what) {
        throw DataFileError(fileName + ":" + std::to_string(number) + ": " + what);
    };
    if (!isUtf8(text)) throw DataFileError(fileName + ": not UTF-8 text");
    const std::set<std::string, std::less<>> known(clips.begin(), clips.end());
    Captions captions;
    ClipCaptions* clip = nullptr;
    std::string clipName;
    const auto finishClip = [&] {
        if (clip && clip->cues.empty()) fail(clipName + " has no subtitles under it");
    };
    TextLines lines(text);
    while (const std::optional<std::string_view> next = lines.next()) {
        const std::string_view line = *next;
        number = lines.number();
        if (line.empty() || line.front() == '#') continue;
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }))
            fail("a control character");
        const std::vector<std::string_view> f = fields(line);
        if (line.front() != '\t') {
            // A clip: its file name and its length.
            finishClip();
            if (f.size() != 2) fail("a clip line is its file name, a tab and its length");
            clipName = std::string(f[0]);
            if (!known.contains(clipName)) fail(clipName + " is not a clip of the game");
            const std::optional<std::uint32_t> length = milliseconds(f[1]);
            if (!length || *length == 0 || *length > kMaxClipMs)
                fail("the length of " + clipName + " is not a number of seconds up to 60");
            if (captions.contains(clipName)) fail(clipName + " is listed twice");
            clip = &captions[clipName];
            clip->lengthMs = *length;
            continue;
        }
        if (!clip) fail("a subtitle before the first clip");
        if (f.size() != 5 || !f[0].empty())
            fail("a subtitle is a tab, its start, end, speaker and text, apart by tabs");
        const std::optional<std::uint32_t> start = milliseconds(f[1]);
        const std::optional<std::uint32_t> finish = milliseconds(f[2]);
        if (!start || !finish) fail("a start or end that is not a number of seconds");
        if (*start > *finish || *finish > clip->lengthMs)
            fail("the times " + std::string(f[1]) + " to " + std::string(f[2]) +
                 " do not lie inside the clip " + clipName);
        if (!clip->cues.empty() && *start < clip->cues.back().startMs)
            fail("a subtitle that starts before the one above it");
        if (!findSpeaker(f[3])) fail("an unknown speaker " + std::string(f[3]));
        if (f[4].find_first_not_of(' ') == std::string_view::npos) fail("a subtitle without text");
        if (const std::size_t letters = countLetters(f[4]); letters > kMaxCueLetters)
            fail("a subtitle of " + std::to_string(letters) + " letters, more than " +
                 std::to_string(kMaxCueLetters) + " (split it into several)");
        clip->cues.push_back({*start, *finish, std::string(f[3]), std::string(f[4])});
    }
    finishClip();
    for (const std::string& name : clips)
        if (!captions.contains(name))
            throw DataFileError(fileName + ": the clip " + name + " has no subtitles");
    return captions;
}

Captions loadCaptions(const std::filesystem::path& file, const std::vector<std::string>& clips) {
    return parseCaptions(readDataFile(file, kMaxCaptionBytes), utf8Of(file), clips);
}

}  // namespace orval
