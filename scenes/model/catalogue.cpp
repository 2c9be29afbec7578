#include "scenes/model/catalogue.h"

#include <algorithm>
#include <optional>
#include <set>

#include "scenes/model/data_file.h"
#include "scenes/model/loader.h"
#include "scenes/model/text_lines.h"
#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

constexpr std::uintmax_t kMaxCatalogueBytes = 1 << 20;

// As gettext keys its own catalogues: the context, the end-of-text character, the text.
std::string key(std::string_view context, std::string_view czech) {
    std::string joined(context);
    joined += '\x04';
    joined += czech;
    return joined;
}

// A translation may say more than the Czech text, not so much more that no box holds it.
constexpr std::size_t kMoreLetters = 40;

// Letters as a reader counts them: code points, not the bytes of UTF-8.
std::size_t letters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// One entry as it is read: each field once its keyword was met.
struct Pending {
    std::optional<std::string> context, czech, translation;
    int line = 0;
    bool fuzzy = false;
    std::string* last = nullptr;  // the field a continued string adds to
};

}  // namespace

Catalogue Catalogue::parse(std::string_view text, const std::string& fileName) {
    int number = 0;
    const auto failAt = [&](int line, const std::string& what) {
        throw DataFileError(fileName + ":" + std::to_string(line) + ": " + what);
    };
    const auto fail = [&](const std::string& what) { failAt(number, what); };
    if (!isUtf8(text)) throw DataFileError(fileName + ": not UTF-8 text");
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark, unseen
    // A quoted string of the file, its escapes undone.
    const auto quoted = [&](std::string_view s) {
        if (s.empty() || s.front() != '"') fail("a string must be in double quotes");
        std::string out;
        std::size_t i = 1;
        for (; i < s.size() && s[i] != '"'; ++i) {
            if (s[i] != '\\') {
                out += s[i];
                continue;
            }
            if (++i == s.size()) break;
            switch (s[i]) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                default:
                    fail(std::string("an unknown escape \\") + s[i]);
            }
        }
        if (i >= s.size()) fail("a string without its closing quote");
        if (s.find_first_not_of(" \t", i + 1) != std::string_view::npos)
            fail("something after the closing quote");
        return out;
    };

    Catalogue catalogue;
    Pending entry;
    std::set<std::string> seen;  // untranslated entries too
    const auto finish = [&] {
        if (!entry.czech && !entry.context && !entry.translation) return;
        // What is wrong with an entry is said at its msgid.
        const auto failHere = [&](const std::string& what) { failAt(entry.line, what); };
        if (!entry.translation) failHere("an entry without msgstr");
        if (entry.czech->empty() && !entry.context) {
            // The header: only its language matters to the game.
            const std::string& header = *entry.translation;
            if (const std::size_t at = header.find("Language: "); at != std::string::npos) {
                const std::size_t from = at + 10;
                catalogue.language_ = header.substr(from, header.find('\n', from) - from);
            }
        } else {
            const std::string context = entry.context.value_or("");
            if (!seen.insert(key(context, *entry.czech)).second)
                failHere("the text \"" + *entry.czech + "\" under \"" + context +
                         "\" is there twice");
            const std::size_t czech = letters(*entry.czech);
            const std::size_t translated = letters(*entry.translation);
            if (translated > 2 * czech + kMoreLetters)
                failHere("a translation of " + std::to_string(translated) +
                         " letters, more than twice the Czech text's " + std::to_string(czech) +
                         " and " + std::to_string(kMoreLetters));
            if (!entry.fuzzy && !entry.translation->empty()) {
                catalogue.index_.emplace(key(context, *entry.czech), catalogue.entries_.size());
                catalogue.entries_.push_back(
                    {context, *entry.czech, *entry.translation, entry.line});
            }
        }
        entry = Pending{};
    };

    TextLines lines(text);
    while (const std::optional<std::string_view> next = lines.next()) {
        std::string_view line = *next;
        number = lines.number();
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        line.remove_prefix(first);
        if (line.front() == '#') {
            if (entry.translation) finish();  // comments lead the next entry
            if (line.starts_with("#,") && line.find("fuzzy") != std::string_view::npos)
                entry.fuzzy = true;
            continue;
        }
        if (line.front() == '"') {
            if (!entry.last) fail("a continued string without a keyword above it");
            *entry.last += quoted(line);
            continue;
        }
        const std::size_t space = line.find_first_of(" \t");
        const std::string_view keyword = line.substr(0, space);
        // The line was trimmed at its start, not its end: after the keyword may be spaces only.
        const std::size_t value =
            space == std::string_view::npos ? space : line.find_first_not_of(" \t", space);
        const std::string_view rest =
            value == std::string_view::npos ? std::string_view() : line.substr(value);
        if (keyword == "msgctxt") {
            if (entry.translation) finish();
            if (entry.context || entry.czech) fail("msgctxt where msgid or msgstr belongs");
            entry.context = quoted(rest);
            entry.line = number;
            entry.last = &*entry.context;
        } else if (keyword == "msgid") {
            if (entry.translation) finish();
            if (entry.czech) fail("msgid without msgstr");
            entry.czech = quoted(rest);
            entry.line = number;
            entry.last = &*entry.czech;
        } else if (keyword == "msgstr") {
            if (!entry.czech) fail("msgstr without msgid");
            if (entry.translation) fail("a second msgstr");
            entry.translation = quoted(rest);
            entry.last = &*entry.translation;
        } else if (keyword == "msgid_plural" || keyword.starts_with("msgstr[")) {
            fail("plural forms: the game has no texts that need them");
        } else {
            fail("an unknown keyword " + std::string(keyword));
        }
    }
    finish();
    // A file cut to nothing would play the game in Czech under another language's name.
    if (catalogue.entries_.empty())
        throw DataFileError(fileName + ": no text of the game is translated");
    return catalogue;
}

Catalogue Catalogue::load(const std::filesystem::path& file) {
    return parse(readDataFile(file, kMaxCatalogueBytes), utf8Of(file));
}

const std::string* Catalogue::find(std::string_view context, std::string_view czech) const {
    const auto it = index_.find(key(context, czech));
    return it == index_.end() ? nullptr : &entries_[it->second].translation;
}

}  // namespace orval
