#include "scenes/model/loader.h"

#include <fstream>
#include <set>
#include <sstream>

#include <toml++/toml.h>

namespace orval {
namespace {

// Every error names the file, then the control (or the scene), then the field.
class Where {
  public:
    Where(std::string file, std::string control)
        : file_(std::move(file)), control_(std::move(control)) {}

    [[noreturn]] void fail(std::string_view field, std::string_view what) const {
        std::ostringstream out;
        out << file_ << ": " << control_ << ": field " << field << ": " << what;
        throw DescriptionError(out.str());
    }

  private:
    std::string file_;
    std::string control_;
};

const std::set<std::string, std::less<>> kCursorNames = {"talk", "walk", "use", "look", "take"};

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

// A picture, icon or cursor file must exist under the data directory.
std::string requireFile(const std::string& relative, const std::filesystem::path& dataDir,
                        std::string_view key, const Where& where) {
    if (relative.empty()) where.fail(key, "empty file name");
    if (relative.find("..") != std::string::npos || relative.front() == '/')
        where.fail(key, "file name must stay inside the data directory");
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(dataDir / relative, ignored))
        where.fail(key, "no such file " + (dataDir / relative).string());
    return relative;
}

Font requireFont(const toml::table& t, const Where& where) {
    const toml::table* table = require(t, "Font", where).as_table();
    if (!table) where.fail("Font", "must be a table { Name, Size, Bold, Italic }");
    Font font;
    font.face = requireString(*table, "Name", where);
    const toml::node& size = require(*table, "Size", where);
    const auto points = size.value<double>();
    if (!points || *points < 4 || *points > 96) where.fail("Font.Size", "must be a size in points");
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

std::string optionalCursor(const toml::table& t, const std::filesystem::path& dataDir,
                           const Where& where) {
    if (!t.contains("Cursor")) return {};
    const std::string name = requireString(t, "Cursor", where);
    if (!kCursorNames.contains(name)) where.fail("Cursor", "unknown cursor " + name);
    requireFile(cursorFile(name), dataDir, "Cursor", where);
    return name;
}

ControlDescription readControl(const toml::table& t, const SceneDescription& scene,
                               const std::filesystem::path& dataDir,
                               const HandlerCheck& isRegistered, std::size_t position) {
    const std::string label = "control #" + std::to_string(position + 1);
    ControlDescription c;
    c.name = requireString(t, "Name", Where(scene.file, label));
    if (c.name.empty()) Where(scene.file, label).fail("Name", "empty");
    const Where where(scene.file, "control " + c.name);
    if (scene.find(c.name) >= 0) where.fail("Name", "duplicate control name");

    const std::string kindName = requireString(t, "Kind", where);
    const auto kind = controlKindNamed(kindName);
    if (!kind) where.fail("Kind", "unknown kind " + kindName);
    c.kind = *kind;

    const std::string parent = requireString(t, "Parent", where);
    if (parent != "Form") {
        c.parent = scene.find(parent);
        if (c.parent < 0) where.fail("Parent", "no earlier control named " + parent);
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
                c.picture =
                    requireFile(requireString(t, "Picture", where), dataDir, "Picture", where);
            c.cursor = optionalCursor(t, dataDir, where);
            c.handlers = readEvents(t, {EventKind::Click}, scene.name, isRegistered, where);
            break;
        case ControlKind::Image:
            c.cursor = optionalCursor(t, dataDir, where);
            c.handlers = readEvents(t, {EventKind::Click, EventKind::MouseMove}, scene.name,
                                    isRegistered, where);
            break;
        case ControlKind::Label: {
            c.caption = requireString(t, "Caption", where);
            c.font = requireFont(t, where);
            c.foreColour = requireColour(t, "ForeColor", where);
            c.backColour = requireColour(t, "BackColor", where);
            const std::int64_t style = requireInteger(t, "BackStyle", where);
            if (style != 0 && style != 1)
                where.fail("BackStyle", "must be 0 (transparent) or 1 (opaque)");
            c.opaque = style == 1;
            c.cursor = optionalCursor(t, dataDir, where);
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
    return c;
}

}  // namespace

std::string cursorFile(std::string_view cursorName) {
    return "cursors/" + std::string(cursorName) + ".png";
}

SceneDescription parseSceneDescription(std::string_view text, const std::string& fileName,
                                       const std::filesystem::path& dataDir,
                                       const HandlerCheck& isRegistered) {
    toml::table root;
    try {
        root = toml::parse(text, fileName);
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
        scene.picture =
            requireFile(requireString(root, "Picture", where), dataDir, "Picture", where);
    if (root.contains("Icon"))
        scene.icon = requireFile(requireString(root, "Icon", where), dataDir, "Icon", where);
    scene.clientWidth = requireTwips(root, "ClientWidth", where, false);
    scene.clientHeight = requireTwips(root, "ClientHeight", where, false);
    if (scene.clientWidth == 0 || scene.clientHeight == 0)
        where.fail("ClientWidth", "window has no area");
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

    if (const toml::node* controls = root.get("Control")) {
        const toml::array* list = controls->as_array();
        if (!list) where.fail("Control", "must be an array of tables [[Control]]");
        for (std::size_t i = 0; i < list->size(); ++i) {
            const toml::table* table = (*list)[i].as_table();
            if (!table) where.fail("Control", "entry " + std::to_string(i + 1) + " is not a table");
            scene.controls.push_back(readControl(*table, scene, dataDir, isRegistered, i));
        }
    }
    return scene;
}

SceneDescription loadSceneDescription(const std::filesystem::path& file,
                                      const std::filesystem::path& dataDir,
                                      const HandlerCheck& isRegistered) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw DescriptionError(file.string() + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return parseSceneDescription(text.str(), file.string(), dataDir, isRegistered);
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
