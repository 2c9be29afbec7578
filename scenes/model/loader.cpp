#include "scenes/model/loader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <span>
#include <sstream>
#include <unordered_map>

#include <toml++/toml.h>

#include "scenes/model/data_file.h"
#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

// Every error names the file, then the control (or the scene), then the field.
class Where {
  public:
    Where(std::string file, std::string control)
        : file_(std::move(file)), control_(std::move(control)) {}

    [[noreturn]] void fail(std::string_view field, std::string_view what) const {
        throw DescriptionError(this->field(field) + ": " + std::string(what));
    }
    std::string field(std::string_view name) const {
        return file_ + ": " + control_ + ": field " + std::string(name);
    }

  private:
    std::string file_;
    std::string control_;
};

// The five of the things in the places, and the "X"'s own.
const std::set<std::string, std::less<>> kCursorNames = {"talk", "walk", "use",
                                                         "look", "take", "quit"};

// Limits no real description comes near (the largest is 3 KB with 13 controls), so that a
// damaged or hostile file is refused before it costs the game its stack, memory or minutes.
constexpr std::uintmax_t kMaxDescriptionBytes = 1 << 20;
constexpr std::size_t kMaxControls = 1000;
constexpr int kMaxWindowPixels = 4096;  // a side of a window, and of a picture
constexpr int kMaxCursorPixels = 256;   // a side of a cursor or an icon
// The parser follows dotted keys and table headers by recursion: tens of thousands of levels
// overflow the stack. A line may hold this many dots outside strings and numbers.
constexpr int kMaxKeyDots = 32;

// A description as the parser is given it: ASCII only. Every letter beyond ASCII in a text in
// double quotes becomes its \u escape, and in a comment a '?'; anywhere else it is refused, as
// are control characters, keys or headers with more than kMaxKeyDots dots (dots inside strings
// and comments, and the decimal point of a number, do not count) and a header without a name.
// The parser's checks of letters beyond ASCII and of those shapes reach points it assumes
// unreachable; it never meets one.
struct TextFault {
    std::size_t line = 0;  // 0: none
    const char* what = "";
};

// The code point of the UTF-8 sequence at `at`, and its length; a length of 0 when the bytes
// are no valid UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short).
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead >= 0xF8 || at + length > text.size()) return {0, 0};
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return {0, 0};
        code = (code << 6) | (byte(at + k) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {0, 0};
    return {code, length};
}

std::string asciiText(std::string_view text, TextFault& fault) {
    enum class In { Plain, Comment, Basic, Literal, MultiBasic, MultiLiteral } in = In::Plain;
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    std::size_t line = 1;
    int dots = 0;
    bool lineStart = true;  // nothing but blanks yet on this line
    bool inValue = false;   // after a key's '=', until the line (and its brackets) end
    int brackets = 0;       // arrays and inline tables open in a value
    const auto at = [&](std::size_t i, std::string_view what) {
        return text.substr(i, what.size()) == what;
    };
    const auto digit = [&](std::size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    const auto refuse = [&](const char* what) {
        fault = {line, what};
        return std::string();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        // TOML allows no control character but tab and line ends, not even in a string.
        if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
            return refuse("a control character");
        if (byte >= 0x80) {
            if (in == In::Basic || in == In::MultiBasic) {
                const auto [code, length] = decodeUtf8(text, i);
                if (length == 0) return refuse("not UTF-8");
                char escape[16];
                std::snprintf(escape, sizeof escape, code > 0xFFFF ? "\\U%08X" : "\\u%04X",
                              static_cast<unsigned>(code));
                out += escape;
                i += length - 1;
            } else if (in == In::Comment) {
                out += '?';
            } else if (in == In::Plain) {
                return refuse("a letter outside quotes");
            } else {
                return refuse("a letter beyond ASCII in single quotes (double quotes take any)");
            }
            continue;
        }
        out += c;
        if (c == '\n') {
            // A text in quotes ends on its line unless it is a multi-line one.
            if (in == In::Basic || in == In::Literal)
                return refuse("a text not closed on its line");
            ++line;
            dots = 0;
            lineStart = true;
            if (brackets == 0) inValue = false;
            if (in == In::Comment) in = In::Plain;
            continue;
        }
        switch (in) {
            case In::Plain:
                if (c == '[' && lineStart && !inValue) {
                    // A table header must name a table: the parser takes that for granted.
                    std::size_t j = i + 1;
                    if (j < text.size() && text[j] == '[') ++j;
                    while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
                    const char first = j < text.size() ? text[j] : '\0';
                    if (!(std::isalnum(static_cast<unsigned char>(first)) || first == '_' ||
                          first == '-' || first == '"' || first == '\''))
                        return refuse("a table header without a name");
                } else if (c == '=') {
                    inValue = true;
                } else if (inValue && (c == '[' || c == '{')) {
                    ++brackets;
                } else if (inValue && (c == ']' || c == '}') && brackets > 0) {
                    --brackets;
                }
                if (c != ' ' && c != '\t' && c != '\r') lineStart = false;
                if (c == '#') {
                    in = In::Comment;
                } else if (at(i, "\"\"\"")) {
                    in = In::MultiBasic;
                    out += "\"\"";
                    i += 2;
                } else if (at(i, "'''")) {
                    in = In::MultiLiteral;
                    out += "''";
                    i += 2;
                } else if (c == '"') {
                    in = In::Basic;
                } else if (c == '\'') {
                    in = In::Literal;
                } else if (c == '.' && !(i > 0 && digit(i - 1) && digit(i + 1)) &&
                           ++dots > kMaxKeyDots) {
                    return refuse("keys nested too deep");
                }
                break;
            case In::Basic:
            case In::MultiBasic:
                if (c == '\\' && i + 1 < text.size()) {
                    // The escaped character goes as it is: an escape names ASCII letters only.
                    const char next = text[i + 1];
                    if (static_cast<unsigned char>(next) >= 0x80)
                        return refuse("a backslash before a letter beyond ASCII");
                    if (next == '\n') {
                        // The backslash ends a line of a multi-line text: one more line.
                        if (in == In::Basic) return refuse("a text not closed on its line");
                        ++line;
                    } else if (static_cast<unsigned char>(next) < 0x20 && next != '\t' &&
                               next != '\r') {
                        return refuse("a control character");
                    }
                    out += next;
                    ++i;
                } else if (in == In::Basic && c == '"') {
                    in = In::Plain;
                } else if (in == In::MultiBasic && at(i, "\"\"\"")) {
                    in = In::Plain;
                    out += "\"\"";
                    i += 2;
                }
                break;
            case In::Literal:
                if (c == '\'') in = In::Plain;
                break;
            case In::MultiLiteral:
                if (at(i, "'''")) {
                    in = In::Plain;
                    out += "''";
                    i += 2;
                }
                break;
            case In::Comment:
                break;
        }
    }
    if (in != In::Plain && in != In::Comment) return refuse("a text that is never closed");
    return out;
}

// The keys every control but a timer may hold.
constexpr std::string_view kCommonKeys[] = {"Name",   "Kind",   "Parent",  "Enabled", "Left",
                                            "Top",    "Width",  "Height",  "Visible", "TabIndex",
                                            "Events", "Called", "OwnWords"};

// Every key a table may hold: a typo ("Cursr") would otherwise lose its field in silence.
void rejectUnknownKeys(const toml::table& t, std::initializer_list<std::string_view> known,
                       const Where& where, std::span<const std::string_view> alsoKnown = {}) {
    for (const auto& [key, value] : t)
        if (std::find(known.begin(), known.end(), key.str()) == known.end() &&
            std::find(alsoKnown.begin(), alsoKnown.end(), key.str()) == alsoKnown.end())
            where.fail(key.str(), "unknown field (a misspelt name?)");
}

const toml::node& require(const toml::table& table, std::string_view key, const Where& where) {
    const toml::node* node = table.get(key);
    if (!node) where.fail(key, "missing");
    return *node;
}

std::string requireString(const toml::table& t, std::string_view key, const Where& where) {
    const auto value = require(t, key, where).value<std::string>();
    if (!value) where.fail(key, "must be a text");
    return *value;
}

bool requireBool(const toml::table& t, std::string_view key, const Where& where) {
    const auto value = require(t, key, where).value_exact<bool>();
    if (!value) where.fail(key, "must be true or false");
    return *value;
}

std::int64_t requireInteger(const toml::table& t, std::string_view key, const Where& where) {
    const toml::node& node = require(t, key, where);
    if (!node.is_integer()) where.fail(key, "must be a whole number");
    return node.as_integer()->get();
}

// A length in twips, converted to pixels; it must be a multiple of 15.
int requireTwips(const toml::table& t, std::string_view key, const Where& where,
                 bool mayBeNegative) {
    const std::int64_t twips = requireInteger(t, key, where);
    if (twips % kTwipsPerPixel != 0) where.fail(key, "twips must be a multiple of 15");
    if (!mayBeNegative && twips < 0) where.fail(key, "must not be negative");
    if (twips < -1'000'000 || twips > 1'000'000) where.fail(key, "out of range");
    return static_cast<int>(twips / kTwipsPerPixel);
}

// Colours are "#RRGGBB" or one of the system colours of the usual scheme.
Colour parseColour(const std::string& text, std::string_view key, const Where& where) {
    if (text == "window") return {255, 255, 255};
    if (text == "windowtext") return {0, 0, 0};
    if (text == "buttonface") return {240, 240, 240};
    if (text.size() != 7 || text[0] != '#') where.fail(key, "colour must be #RRGGBB");
    unsigned value = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const char c = text[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            where.fail(key, "colour must be #RRGGBB");
        value = value * 16 + digit;
    }
    return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value)};
}

Colour requireColour(const toml::table& t, std::string_view key, const Where& where) {
    return parseColour(requireString(t, key, where), key, where);
}

std::optional<Colour> optionalColour(const toml::table& t, std::string_view key,
                                     const Where& where) {
    if (!t.contains(key)) return std::nullopt;
    return requireColour(t, key, where);
}

// A picture, icon or cursor must be a PNG file under the data directory no larger than
// `maxSide` pixels a side. Its size is read from the header, before anything is decoded: a
// few bytes can claim a picture of gigabytes.
// The data directory's pictures, each header read once per `read`.
struct PictureFiles {
    const std::filesystem::path& dataDir;
    PictureHeaders* read;

    PictureHeader header(const std::filesystem::path& file) const {
        if (!read) return readPictureHeader(file);
        const auto known = read->read.find(file);
        if (known != read->read.end()) return known->second;
        return read->read.emplace(file, readPictureHeader(file)).first->second;
    }
};

// What is wrong with the picture for a place that takes at most `maxSide` pixels a side, if
// anything.
std::string pictureProblem(const std::filesystem::path& file, const PictureHeader& picture,
                           int maxSide) {
    if (!picture.problem.empty()) return picture.problem;
    if (picture.width > maxSide || picture.height > maxSide)
        return utf8Of(file) + " is " + std::to_string(picture.width) + " x " +
               std::to_string(picture.height) + " pixels, more than " + std::to_string(maxSide) +
               " a side";
    return {};
}

std::string requirePicture(const std::string& relative, const PictureFiles& pictures, int maxSide,
                           std::string_view key, const Where& where) {
    if (relative.empty()) where.fail(key, "empty file name");
    if (relative.find("..") != std::string::npos || relative.front() == '/')
        where.fail(key, "file name must stay inside the data directory");
    const std::filesystem::path file = pictures.dataDir / relative;
    std::error_code ignored;
    if (pictures.read && pictures.read->later && !std::filesystem::exists(file, ignored)) {
        pictures.read->later->push_back({file, maxSide, where.field(key)});
        return relative;
    }
    const std::string problem = pictureProblem(file, pictures.header(file), maxSide);
    if (!problem.empty()) where.fail(key, problem);
    return relative;
}

Font requireFont(const toml::table& t, const Where& where) {
    const toml::table* table = require(t, "Font", where).as_table();
    if (!table) where.fail("Font", "must be a table { Name, Size, Bold, Italic }");
    Font font;
    font.face = requireString(*table, "Name", where);
    const toml::node& size = require(*table, "Size", where);
    const auto points = size.value<double>();
    if (!points || !std::isfinite(*points) || *points < 4 || *points > 96)
        where.fail("Font.Size", "must be a size in points");
    rejectUnknownKeys(*table, {"Name", "Size", "Bold", "Italic"}, where);
    font.points = *points;
    font.bold = requireBool(*table, "Bold", where);
    font.italic = requireBool(*table, "Italic", where);
    return font;
}

std::optional<EventKind> eventKindNamed(std::string_view name) {
    if (name == "Click") return EventKind::Click;
    if (name == "MouseMove") return EventKind::MouseMove;
    if (name == "Timer") return EventKind::Timer;
    if (name == "Load") return EventKind::Load;
    return std::nullopt;
}

// Reads `Events = { Click = "Image1_Click" }`, checking each event fits the kind of owner.
std::map<EventKind, std::string> readEvents(const toml::table& t,
                                            const std::set<EventKind>& allowed,
                                            const std::string& sceneName,
                                            const HandlerCheck& isRegistered, const Where& where) {
    std::map<EventKind, std::string> handlers;
    const toml::node* node = t.get("Events");
    if (!node) return handlers;
    const toml::table* events = node->as_table();
    if (!events) where.fail("Events", "must be a table of event = handler");
    for (const auto& [key, value] : *events) {
        const std::string field = "Events." + std::string(key.str());
        const auto kind = eventKindNamed(key.str());
        if (!kind || !allowed.contains(*kind)) where.fail(field, "no such event here");
        const auto handler = value.value<std::string>();
        if (!handler || handler->empty()) where.fail(field, "must name a handler");
        if (!isRegistered(sceneName, *handler))
            where.fail(field, "no code registers the handler " + *handler);
        handlers[*kind] = *handler;
    }
    return handlers;
}

std::optional<ControlKind> controlKindNamed(std::string_view name) {
    if (name == "PictureBox") return ControlKind::PictureBox;
    if (name == "Image") return ControlKind::Image;
    if (name == "Label") return ControlKind::Label;
    if (name == "CommandButton") return ControlKind::CommandButton;
    if (name == "Timer") return ControlKind::Timer;
    if (name == "Shape") return ControlKind::Shape;
    return std::nullopt;
}

std::string optionalCursor(const toml::table& t, const PictureFiles& pictures, const Where& where) {
    if (!t.contains("Cursor")) return {};
    const std::string name = requireString(t, "Cursor", where);
    if (!kCursorNames.contains(name)) where.fail("Cursor", "unknown cursor " + name);
    requirePicture(cursorFile(name), pictures, kMaxCursorPixels, "Cursor", where);
    return name;
}

// `ForEachLanguage = { Gap, BorderColor, ChosenForeColor, ChosenBackColor }`: the label is the
// template of the marks of the languages.
std::optional<ControlDescription::LanguageMarks> optionalLanguageMarks(const toml::table& t,
                                                                       const Where& where) {
    const toml::node* node = t.get("ForEachLanguage");
    if (!node) return std::nullopt;
    const toml::table* table = node->as_table();
    if (!table)
        where.fail("ForEachLanguage",
                   "must be a table { Gap, BorderColor, ChosenForeColor, ChosenBackColor }");
    ControlDescription::LanguageMarks marks;
    marks.gap = requireTwips(*table, "Gap", where, false);
    marks.border = requireColour(*table, "BorderColor", where);
    marks.chosenFore = requireColour(*table, "ChosenForeColor", where);
    marks.chosenBack = requireColour(*table, "ChosenBackColor", where);
    rejectUnknownKeys(*table, {"Gap", "BorderColor", "ChosenForeColor", "ChosenBackColor"}, where);
    return marks;
}

// `Roles = ["first", "menu"]`, each known and given once; the first scene names the game.
void readRoles(const toml::table& root, SceneDescription& scene, const Where& where) {
    if (const toml::node* node = root.get("Roles")) {
        const toml::array* list = node->as_array();
        if (!list) where.fail("Roles", "must be a list of roles (first, menu, inventory, won)");
        for (const toml::node& item : *list) {
            const std::optional<std::string> role = item.value<std::string>();
            bool* has = !role                  ? nullptr
                        : *role == "first"     ? &scene.roles.first
                        : *role == "menu"      ? &scene.roles.menu
                        : *role == "inventory" ? &scene.roles.inventory
                        : *role == "won"       ? &scene.roles.won
                                               : nullptr;
            if (!has) where.fail("Roles", "no such role (first, menu, inventory, won)");
            if (*has) where.fail("Roles", *role + " given twice");
            *has = true;
        }
    }
    if (scene.roles.first) {
        scene.gameTitle = requireString(root, "GameTitle", where);
        if (scene.gameTitle.empty()) where.fail("GameTitle", "empty");
    } else if (root.contains("GameTitle")) {
        where.fail("GameTitle", "only the scene the game opens with names the game");
    }
}

// The letters of a UTF-8 text (its code points).
std::size_t lettersOf(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// `Called = "telefon"`, which every control that does something has, and `OwnWords`.
void readName(const toml::table& t, ControlDescription& c, const Where& where) {
    if (t.contains("OwnWords")) c.ownWords = requireBool(t, "OwnWords", where);
    if (t.contains("Called")) c.called = requireString(t, "Called", where);
    if (c.called.empty() && doesSomething(c))
        where.fail("Called", "missing: a control the player can point at needs a name");
    if (lettersOf(c.called) > kMaxNameLetters)
        where.fail("Called", "a name of " + std::to_string(lettersOf(c.called)) +
                                 " letters, more than " + std::to_string(kMaxNameLetters));
}

// The controls read so far, by name: looked up once per control, so loading stays linear.
using ControlIndex = std::unordered_map<std::string, int>;

ControlDescription readControl(const toml::table& t, const SceneDescription& scene,
                               const ControlIndex& earlier, const PictureFiles& pictures,
                               const HandlerCheck& isRegistered, std::size_t position) {
    const std::string label = "control #" + std::to_string(position + 1);
    ControlDescription c;
    c.name = requireString(t, "Name", Where(scene.file, label));
    if (c.name.empty()) Where(scene.file, label).fail("Name", "empty");
    const Where where(scene.file, "control " + c.name);
    if (earlier.contains(c.name)) where.fail("Name", "duplicate control name");

    const std::string kindName = requireString(t, "Kind", where);
    const auto kind = controlKindNamed(kindName);
    if (!kind) where.fail("Kind", "unknown kind " + kindName);
    c.kind = *kind;

    const std::string parent = requireString(t, "Parent", where);
    if (parent != "Form") {
        const auto found = earlier.find(parent);
        if (found == earlier.end()) where.fail("Parent", "no earlier control named " + parent);
        c.parent = found->second;
        if (scene.controls[static_cast<std::size_t>(c.parent)].kind != ControlKind::PictureBox)
            where.fail("Parent", parent + " is not a picture box");
    }

    c.enabled = requireBool(t, "Enabled", where);
    if (c.kind == ControlKind::Timer) {
        const std::int64_t interval = requireInteger(t, "Interval", where);
        if (interval <= 0 || interval > 3'600'000)
            where.fail("Interval", "must be 1 to 3600000 ms");
        c.intervalMs = static_cast<int>(interval);
        if (t.contains("Left")) c.rect.x = requireTwips(t, "Left", where, true);
        if (t.contains("Top")) c.rect.y = requireTwips(t, "Top", where, true);
        c.handlers = readEvents(t, {EventKind::Timer}, scene.name, isRegistered, where);
        rejectUnknownKeys(
            t, {"Name", "Kind", "Parent", "Enabled", "Interval", "Left", "Top", "Events"}, where);
        return c;
    }

    c.rect = {requireTwips(t, "Left", where, true), requireTwips(t, "Top", where, true),
              requireTwips(t, "Width", where, false), requireTwips(t, "Height", where, false)};
    c.visible = requireBool(t, "Visible", where);
    if (t.contains("TabIndex")) c.tabIndex = static_cast<int>(requireInteger(t, "TabIndex", where));

    switch (c.kind) {
        case ControlKind::PictureBox:
            c.backColour = requireColour(t, "BackColor", where);
            c.foreColour = optionalColour(t, "ForeColor", where);
            if (t.contains("Picture"))
                c.picture = requirePicture(requireString(t, "Picture", where), pictures,
                                           kMaxWindowPixels, "Picture", where);
            c.cursor = optionalCursor(t, pictures, where);
            c.handlers = readEvents(t, {EventKind::Click}, scene.name, isRegistered, where);
            break;
        case ControlKind::Image:
            c.cursor = optionalCursor(t, pictures, where);
            c.handlers = readEvents(t, {EventKind::Click, EventKind::MouseMove}, scene.name,
                                    isRegistered, where);
            break;
        case ControlKind::Label: {
            c.caption = requireString(t, "Caption", where);
            c.forEachLanguage = optionalLanguageMarks(t, where);
            c.centred = c.forEachLanguage.has_value();
            c.font = requireFont(t, where);
            c.foreColour = requireColour(t, "ForeColor", where);
            c.backColour = requireColour(t, "BackColor", where);
            const std::int64_t style = requireInteger(t, "BackStyle", where);
            if (style != 0 && style != 1)
                where.fail("BackStyle", "must be 0 (transparent) or 1 (opaque)");
            c.opaque = style == 1;
            c.cursor = optionalCursor(t, pictures, where);
            c.handlers = readEvents(t, {EventKind::Click}, scene.name, isRegistered, where);
            break;
        }
        case ControlKind::CommandButton:
            c.caption = requireString(t, "Caption", where);
            c.font = requireFont(t, where);
            c.backColour = requireColour(t, "BackColor", where);
            if (requireInteger(t, "Style", where) != 1)
                where.fail("Style", "only the graphical style 1 is drawn");
            c.handlers = readEvents(t, {EventKind::Click}, scene.name, isRegistered, where);
            break;
        case ControlKind::Shape:
            c.borderColour = requireColour(t, "BorderColor", where);
            break;
        case ControlKind::Timer:
            break;
    }
    switch (c.kind) {
        case ControlKind::PictureBox:
            rejectUnknownKeys(t, {"BackColor", "ForeColor", "Picture", "Cursor"}, where,
                              kCommonKeys);
            break;
        case ControlKind::Image:
            rejectUnknownKeys(t, {"Cursor"}, where, kCommonKeys);
            break;
        case ControlKind::Label:
            rejectUnknownKeys(t,
                              {"Caption", "Font", "ForeColor", "BackColor", "BackStyle", "Cursor",
                               "ForEachLanguage"},
                              where, kCommonKeys);
            break;
        case ControlKind::CommandButton:
            rejectUnknownKeys(t, {"Caption", "Font", "BackColor", "Style"}, where, kCommonKeys);
            break;
        case ControlKind::Shape:
            rejectUnknownKeys(t, {"BorderColor"}, where, kCommonKeys);
            break;
        case ControlKind::Timer:
            break;
    }
    readName(t, c, where);
    return c;
}

}  // namespace

std::string cursorFile(std::string_view cursorName) {
    return "cursors/" + std::string(cursorName) + ".png";
}

SceneDescription parseSceneDescription(std::string_view text, const std::string& fileName,
                                       const std::filesystem::path& dataDir,
                                       const HandlerCheck& isRegistered, PictureHeaders* read) {
    const PictureFiles pictures{dataDir, read};
    if (text.size() > kMaxDescriptionBytes)
        throw DescriptionError(fileName + ": too large for a description (" +
                               std::to_string(text.size()) + " bytes)");
    TextFault fault;
    const std::string ascii = asciiText(text, fault);
    if (fault.line != 0)
        throw DescriptionError(fileName + ": not a valid description (line " +
                               std::to_string(fault.line) + "): " + fault.what);
    toml::table root;
    try {
        root = toml::parse(ascii, fileName);
    } catch (const toml::parse_error& error) {
        std::ostringstream out;
        out << fileName << ": not a valid description (line " << error.source().begin.line
            << "): " << error.description();
        throw DescriptionError(out.str());
    }

    SceneDescription scene;
    scene.file = fileName;
    scene.name = requireString(root, "Name", Where(fileName, "scene"));
    const Where where(fileName, "scene " + scene.name);
    scene.caption = requireString(root, "Caption", where);
    scene.backColour = optionalColour(root, "BackColor", where);
    if (root.contains("Picture"))
        scene.picture = requirePicture(requireString(root, "Picture", where), pictures,
                                       kMaxWindowPixels, "Picture", where);
    if (root.contains("Icon"))
        scene.icon = requirePicture(requireString(root, "Icon", where), pictures, kMaxCursorPixels,
                                    "Icon", where);
    scene.clientWidth = requireTwips(root, "ClientWidth", where, false);
    scene.clientHeight = requireTwips(root, "ClientHeight", where, false);
    if (scene.clientWidth == 0 || scene.clientHeight == 0)
        where.fail("ClientWidth", "window has no area");
    if (scene.clientWidth > kMaxWindowPixels || scene.clientHeight > kMaxWindowPixels)
        where.fail(scene.clientWidth > kMaxWindowPixels ? "ClientWidth" : "ClientHeight",
                   "a window larger than " + std::to_string(kMaxWindowPixels) + " pixels");
    const std::int64_t position = requireInteger(root, "StartUpPosition", where);
    if (position < 0 || position > 2) where.fail("StartUpPosition", "must be 0, 1 or 2");
    scene.placement = position == 0   ? Placement::Manual
                      : position == 1 ? Placement::CentreOwner
                                      : Placement::CentreScreen;
    if (scene.placement == Placement::Manual) {
        scene.clientLeft = requireTwips(root, "ClientLeft", where, true);
        scene.clientTop = requireTwips(root, "ClientTop", where, true);
    }
    if (!scene.backColour && scene.picture.empty())
        where.fail("BackColor", "missing (required when the scene has no picture)");
    scene.handlers =
        readEvents(root, {EventKind::Load, EventKind::MouseMove}, scene.name, isRegistered, where);
    readRoles(root, scene, where);
    rejectUnknownKeys(
        root,
        {"Name", "Caption", "BackColor", "Picture", "Icon", "ClientWidth", "ClientHeight",
         "StartUpPosition", "ClientLeft", "ClientTop", "Events", "Control", "Roles", "GameTitle"},
        where);

    if (const toml::node* controls = root.get("Control")) {
        const toml::array* list = controls->as_array();
        if (!list) where.fail("Control", "must be an array of tables [[Control]]");
        if (list->size() > kMaxControls)
            where.fail("Control", "more than " + std::to_string(kMaxControls) + " controls");
        ControlIndex index;
        for (std::size_t i = 0; i < list->size(); ++i) {
            const toml::table* table = (*list)[i].as_table();
            if (!table) where.fail("Control", "entry " + std::to_string(i + 1) + " is not a table");
            scene.controls.push_back(readControl(*table, scene, index, pictures, isRegistered, i));
            index.emplace(scene.controls.back().name, static_cast<int>(i));
        }
    }
    return scene;
}

GameRoles gameRoles(const std::vector<SceneDescription>& scenes) {
    GameRoles found;
    const auto take = [](std::string& role, const SceneDescription& scene, const char* name,
                         const std::vector<SceneDescription>& all) {
        if (!role.empty()) {
            const auto other = std::find_if(
                all.begin(), all.end(), [&](const SceneDescription& s) { return s.name == role; });
            throw DescriptionError(scene.file + ": scene " + scene.name + ": field Roles: " + name +
                                   " is also the role of the scene " + role + " (" + other->file +
                                   ")");
        }
        role = scene.name;
    };
    for (const SceneDescription& scene : scenes) {
        if (scene.roles.first) {
            take(found.first, scene, "first", scenes);
            found.title = scene.gameTitle;
        }
        if (scene.roles.menu) take(found.menu, scene, "menu", scenes);
        if (scene.roles.inventory) take(found.inventory, scene, "inventory", scenes);
        if (scene.roles.won) take(found.won, scene, "won", scenes);
    }
    return found;
}

bool isUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = decodeUtf8(text, at).second;
        if (length == 0) return false;
        at += length;
    }
    return true;
}

void checkLaterPictures(const std::vector<LaterPicture>& pictures) {
    for (const LaterPicture& p : pictures)
        if (const std::string problem =
                pictureProblem(p.file, readPictureHeader(p.file), p.maxSide);
            !problem.empty())
            throw DescriptionError(p.where + ": " + problem);
}

SceneDescription loadSceneDescription(const std::filesystem::path& file,
                                      const std::filesystem::path& dataDir,
                                      const HandlerCheck& isRegistered, PictureHeaders* read) {
    return parseSceneDescription(readDataFile(file, kMaxDescriptionBytes), utf8Of(file), dataDir,
                                 isRegistered, read);
}

int SceneDescription::find(std::string_view controlName) const {
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == controlName) return static_cast<int>(i);
    return -1;
}

const char* toString(ControlKind kind) {
    switch (kind) {
        case ControlKind::PictureBox:
            return "PictureBox";
        case ControlKind::Image:
            return "Image";
        case ControlKind::Label:
            return "Label";
        case ControlKind::CommandButton:
            return "CommandButton";
        case ControlKind::Timer:
            return "Timer";
        case ControlKind::Shape:
            return "Shape";
    }
    return "?";
}

const char* toString(EventKind kind) {
    switch (kind) {
        case EventKind::Click:
            return "Click";
        case EventKind::MouseMove:
            return "MouseMove";
        case EventKind::Timer:
            return "Timer";
        case EventKind::Load:
            return "Load";
    }
    return "?";
}

}  // namespace orval
