// Subtitles of the sound clips: when in each clip who says what, read from data/captions.tsv.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/geometry.h"

namespace orval {

// One line of a clip: shown from `startMs` to `endMs` after the clip starts.
struct Cue {
    std::uint32_t startMs = 0, endMs = 0;
    std::string speaker;  // a key of speakers(), "effect" for a sound that is no speech
    std::string text;
};

struct ClipCaptions {
    std::uint32_t lengthMs = 0;  // the clip's own length, as the subtitles were made for it
    std::vector<Cue> cues;       // in order of their start
};

// The subtitles of every clip, by the clip's file name ("go bank.wav").
using Captions = std::map<std::string, ClipCaptions, std::less<>>;

// Who can speak in a clip: the name shown before the words and the colours it is shown in.
struct Speaker {
    std::string_view key;
    std::string_view name;         // empty for an effect: its bracketed words stand alone
    Colour colour;                 // of the name (of the words, for an effect)
    std::optional<Colour> behind;  // a box behind the name, where the colour is too dark
};
const std::vector<Speaker>& speakers();
// The speaker of this key, or nullptr.
const Speaker* findSpeaker(std::string_view key);

// Letters, not bytes: a Czech letter is two bytes of UTF-8 but read as one.
std::size_t countLetters(std::string_view text);

// Parses the subtitles file; every clip in `clips` must have cues, and no other clip may.
// Throws DataFileError naming `fileName` and the line, never crashes.
Captions parseCaptions(std::string_view text, const std::string& fileName,
                       const std::vector<std::string>& clips);
// Reads the file and parses it as above.
Captions loadCaptions(const std::filesystem::path& file, const std::vector<std::string>& clips);

}  // namespace orval
