// Reading scene descriptions: a full description read back field by field, every kind of
// damage named precisely, garbled files rejected without a crash, and the game's data set.

#include <random>
#include <sstream>

#include "scenes/model/captions.h"
#include "scenes/model/loader.h"
#include "shell/scene_files.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// A small data directory: one picture, an icon and four of the five cursors ("take" is missing
// on purpose, so that a description naming it points at a file that is not there).
class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(data_.path() / "pictures");
        fs::create_directories(data_.path() / "cursors");
        Canvas picture(4, 3);
        picture.savePng(data_.path() / "pictures" / "tiny.png");
        picture.savePng(data_.path() / "icon.png");
        for (const char* cursor : {"talk", "walk", "use", "look"})
            picture.savePng(data_.path() / cursorFile(cursor));
        // What a picture must not be: another format, a header that claims 30000 x 30000
        // (3.5 GB decoded), a FIFO that would block the reader.
        writeFile(data_.path() / "pictures" / "gif.png", "GIF89a\x04\x00\x03\x00");
        std::string huge = readFile(data_.path() / "pictures" / "tiny.png").substr(0, 24);
        huge.replace(16, 8, std::string("\x00\x00\x75\x30\x00\x00\x75\x30", 8));
        writeFile(data_.path() / "pictures" / "huge.png", huge);
        makeFifo(data_.path() / "pictures" / "fifo.png");
#ifdef ORVAL_TEST_UNREADABLE_FILES
        makeUnreadable(data_.path() / "pictures" / "loop.png");
#endif
    }

    SceneDescription parse(std::string_view text) const {
        return parseSceneDescription(text, "zkouska.toml", data_.path(), registered_);
    }

    TempDir data_;
    const std::set<std::string, std::less<>> handlerNames_ = {
        "Form_Load",    "Form_MouseMove", "Picture1_Click", "Image1_Click",
        "Image1_Hover", "Label1_Click",   "Command1_Click", "Timer1_Timer",
    };
    const HandlerCheck registered_ = [this](std::string_view scene, std::string_view handler) {
        return scene == "zkouška" && handlerNames_.contains(handler);
    };
};

// Every kind of control once, with every field the game uses.
constexpr std::string_view kValid = R"(# a scene for the loader tests
Name = "zkouška"
Roles = ["first", "menu"]
GameTitle = "Zkouška"
Caption = "Zkouška č. 1"
BackColor = "#5FB0ED"
Picture = "pictures/tiny.png"
Icon = "icon.png"
ClientWidth = 6765
ClientHeight = 5820
StartUpPosition = 0
ClientLeft = 7500
ClientTop = 180
Events = { Load = "Form_Load", MouseMove = "Form_MouseMove" }

[[Control]]
Name = "Picture1"
Kind = "PictureBox"
Parent = "Form"
Left = 120
Top = 600
Width = 2415
Height = 450
Visible = true
Enabled = true
TabIndex = 3
BackColor = "#A9D5F5"
ForeColor = "#000080"
Picture = "pictures/tiny.png"
Cursor = "use"
Events = { Click = "Picture1_Click" }
Called = "obrázek"

[[Control]]
Name = "Image1"
Kind = "Image"
Parent = "Picture1"
Left = -15
Top = 30
Width = 2415
Height = 495
Visible = true
Enabled = false
Cursor = "look"
Events = { Click = "Image1_Click", MouseMove = "Image1_Hover" }
Called = "telefonní seznam"
OwnWords = true

[[Control]]
Name = "Label1"
Kind = "Label"
Parent = "Form"
Left = 240
Top = 1560
Width = 1935
Height = 255
Visible = false
Enabled = true
Caption = "   Žluťoučký kůň"
Font = { Name = "MS Sans Serif", Size = 12.0, Bold = false, Italic = false }
ForeColor = "windowtext"
BackColor = "buttonface"
BackStyle = 0
Cursor = "talk"
Events = { Click = "Label1_Click" }
Called = "kůň"
ForEachLanguage = { Gap = 45, BorderColor = "#1F1A17", ChosenForeColor = "#1174E1", ChosenBackColor = "#A9D5F5" }

[[Control]]
Name = "Command1"
Kind = "CommandButton"
Parent = "Form"
Left = 2160
Top = 5040
Width = 2295
Height = 495
Visible = true
Enabled = true
TabIndex = 0
Caption = "Začít hru"
Font = { Name = "MS Sans Serif", Size = 24.0, Bold = true, Italic = true }
BackColor = "#1174E1"
Style = 1
Events = { Click = "Command1_Click" }
Called = "Začít hru"

[[Control]]
Name = "Timer1"
Kind = "Timer"
Parent = "Form"
Left = 840
Top = 120
Enabled = true
Interval = 18500
Events = { Timer = "Timer1_Timer" }

[[Control]]
Name = "Shape1"
Kind = "Shape"
Parent = "Form"
Left = 120
Top = 480
Width = 7455
Height = 1095
Visible = false
Enabled = true
BorderColor = "#1174e1"
)";

std::string hex(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.r, c.g, c.b);
    return text;
}

// Every field of a description that is set, on one line.
std::string dump(const std::map<EventKind, std::string>& handlers) {
    std::string text;
    for (const auto& [event, handler] : handlers)
        text += std::string(" ") + toString(event) + "=" + handler;
    return text;
}
std::string dump(const ControlDescription& c) {
    std::ostringstream o;
    o << c.name << " " << toString(c.kind) << " in " << c.parent << " at " << c.rect.x << ","
      << c.rect.y << " " << c.rect.w << "x" << c.rect.h << (c.visible ? " visible" : " hidden")
      << (c.enabled ? " enabled" : " disabled") << " tab " << c.tabIndex;
    if (!c.picture.empty()) o << " picture " << c.picture;
    if (c.backColour) o << " back " << hex(*c.backColour);
    if (c.foreColour) o << " fore " << hex(*c.foreColour);
    if (!c.caption.empty()) o << " caption '" << c.caption << "'";
    if (!c.font.face.empty()) o << " font " << c.font.face << " " << c.font.points;
    if (c.font.bold) o << " bold";
    if (c.font.italic) o << " italic";
    if (!c.opaque) o << " transparent";
    if (!c.cursor.empty()) o << " cursor " << c.cursor;
    if (c.intervalMs) o << " every " << c.intervalMs;
    if (c.kind == ControlKind::Shape) o << " border " << hex(c.borderColour);
    if (const auto& marks = c.forEachLanguage)
        o << " for each language " << marks->gap << " apart, border " << hex(marks->border)
          << ", chosen " << hex(marks->chosenFore) << " on " << hex(marks->chosenBack)
          << (c.centred ? ", centred" : "");
    if (!c.called.empty()) o << " called '" << c.called << "'";
    if (c.ownWords) o << (*c.ownWords ? " worded" : " unworded");
    return o.str() + dump(c.handlers);
}

TEST_F(LoaderTest, EveryFieldOfAValidDescriptionIsReadBack) {
    const SceneDescription s = parse(kValid);
    EXPECT_EQ(s.name, "zkouška");
    EXPECT_EQ(s.file, "zkouska.toml");
    EXPECT_EQ(s.caption, "Zkouška č. 1");
    EXPECT_EQ(s.backColour, (Colour{95, 176, 237}));
    EXPECT_EQ(s.picture, "pictures/tiny.png");
    EXPECT_EQ(s.icon, "icon.png");
    EXPECT_EQ((Rect{s.clientLeft, s.clientTop, s.clientWidth, s.clientHeight}),
              (Rect{500, 12, 451, 388}));
    EXPECT_EQ(s.placement, Placement::Manual);
    EXPECT_EQ(dump(s.handlers), " MouseMove=Form_MouseMove Load=Form_Load");
    EXPECT_TRUE(s.roles.first && s.roles.menu && !s.roles.inventory);
    EXPECT_EQ(s.gameTitle, "Zkouška");
    std::vector<std::string> controls;
    for (const ControlDescription& c : s.controls) controls.push_back(dump(c));
    EXPECT_EQ(controls,
              (std::vector<std::string>{
                  "Picture1 PictureBox in -1 at 8,40 161x30 visible enabled tab 3 picture "
                  "pictures/tiny.png back #A9D5F5 fore #000080 cursor use called 'obrázek' "
                  "Click=Picture1_Click",
                  "Image1 Image in 0 at -1,2 161x33 visible disabled tab 0 cursor look "
                  "called 'telefonní seznam' worded Click=Image1_Click MouseMove=Image1_Hover",
                  "Label1 Label in -1 at 16,104 129x17 hidden enabled tab 0 back #F0F0F0 fore "
                  "#000000 caption '   Žluťoučký kůň' font MS Sans Serif 12 transparent cursor "
                  "talk for each language 3 apart, border #1F1A17, chosen #1174E1 on #A9D5F5, "
                  "centred called 'kůň' Click=Label1_Click",
                  "Command1 CommandButton in -1 at 144,336 153x33 visible enabled tab 0 back "
                  "#1174E1 caption 'Začít hru' font MS Sans Serif 24 bold italic "
                  "called 'Začít hru' Click=Command1_Click",
                  "Timer1 Timer in -1 at 56,8 0x0 visible enabled tab 0 every 18500 "
                  "Timer=Timer1_Timer",
                  "Shape1 Shape in -1 at 8,32 497x73 hidden enabled tab 0 border #1174E1",
              }));
    EXPECT_EQ(s.find("Command1"), 3);
    EXPECT_EQ(s.find("Command2"), -1);
}

TEST_F(LoaderTest, PlacementAndOptionalFields) {
    const auto edit = [](std::string text, std::string_view from, std::string_view to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string centred =
        edit(edit(std::string(kValid), "ClientLeft = 7500\n", ""), "ClientTop = 180\n", "");
    EXPECT_EQ(parse(edit(centred, "StartUpPosition = 0", "StartUpPosition = 2")).placement,
              Placement::CentreScreen);
    EXPECT_EQ(parse(edit(centred, "StartUpPosition = 0", "StartUpPosition = 1")).placement,
              Placement::CentreOwner);
    // A scene with a picture of its own needs no back colour (the main menu).
    const std::string noBack = edit(centred, "BackColor = \"#5FB0ED\"\n", "");
    EXPECT_FALSE(
        parse(edit(noBack, "StartUpPosition = 0", "StartUpPosition = 2")).backColour.has_value());
}

// One mutation of the valid description: in the text after `after`, the first `from` becomes
// `to`; the error must name the file and every one of the |-separated `words`.
struct Damage {
    const char* what;
    const char* after;
    const char* from;
    const char* to;
    const char* words;
};

const Damage kDamages[] = {
    {"unknown kind", "Name = \"Label1\"", "Kind = \"Label\"", "Kind = \"TextBox\"",
     "Label1|Kind|TextBox"},
    {"scene without a name", "", "Name = \"zkouška\"\n", "", "scene|Name|missing"},
    {"control without a name", "", "Name = \"Label1\"\n", "", "control #3|Name|missing"},
    {"missing Left", "Name = \"Image1\"", "Left = -15\n", "", "Image1|Left|missing"},
    {"missing Visible", "Name = \"Picture1\"", "Visible = true\n", "", "Picture1|Visible|missing"},
    {"missing Caption of a label", "Name = \"Label1\"", "Caption = \"   Žluťoučký kůň\"\n", "",
     "Label1|Caption|missing"},
    {"missing Caption of a button", "Name = \"Command1\"", "Caption = \"Začít hru\"\n", "",
     "Command1|Caption|missing"},
    {"missing Interval", "Name = \"Timer1\"", "Interval = 18500\n", "", "Timer1|Interval|missing"},
    {"missing Enabled of a timer", "Name = \"Timer1\"", "Enabled = true\n", "",
     "Timer1|Enabled|missing"},
    {"missing font", "Name = \"Command1\"", "Font = {", "Fond = {", "Command1|Font|missing"},
    {"missing ClientHeight", "", "ClientHeight = 5820\n", "", "scene|ClientHeight|missing"},
    {"manual placement without position", "", "ClientLeft = 7500\n", "",
     "scene|ClientLeft|missing"},
    {"parent that is not a picture box", "Name = \"Shape1\"", "Parent = \"Form\"",
     "Parent = \"Label1\"", "Shape1|Parent|Label1|not a picture box"},
    {"parent unknown", "Name = \"Image1\"", "Parent = \"Picture1\"", "Parent = \"Picture9\"",
     "Image1|Parent|Picture9"},
    {"parent described later", "Name = \"Picture1\"", "Parent = \"Form\"", "Parent = \"Shape1\"",
     "Picture1|Parent|Shape1"},
    {"duplicate name", "", "Name = \"Command1\"", "Name = \"Label1\"", "Label1|Name|duplicate"},
    {"Left not a multiple of 15", "Name = \"Label1\"", "Left = 240", "Left = 241",
     "Label1|Left|15"},
    {"Height not a multiple of 15", "Name = \"Image1\"", "Height = 495", "Height = 500",
     "Image1|Height|15"},
    {"ClientWidth not a multiple of 15", "", "ClientWidth = 6765", "ClientWidth = 6766",
     "scene|ClientWidth|15"},
    {"negative Width", "Name = \"Picture1\"", "Width = 2415", "Width = -2415",
     "Picture1|Width|negative"},
    {"missing picture file", "Name = \"Picture1\"", "pictures/tiny.png", "pictures/chybi.png",
     "Picture1|Picture|chybi.png"},
    {"missing scene picture", "", "Picture = \"pictures/tiny.png\"",
     "Picture = \"pictures/pryc.png\"", "scene|Picture|pryc.png"},
    {"picture outside the data", "Name = \"Picture1\"", "pictures/tiny.png", "../pictures/tiny.png",
     "Picture1|Picture"},
    {"missing icon file", "", "Icon = \"icon.png\"", "Icon = \"ikona.png\"",
     "scene|Icon|ikona.png"},
    {"missing cursor file", "Name = \"Image1\"", "Cursor = \"look\"", "Cursor = \"take\"",
     "Image1|Cursor|take.png"},
    {"a control that does something without a name", "Name = \"Image1\"",
     "Called = \"telefonní seznam\"\n", "", "Image1|Called|missing"},
    {"a name longer than 40 letters", "Name = \"Label1\"", "Called = \"kůň\"",
     "Called = \"kůň kůň kůň kůň kůň kůň kůň kůň kůň kůň kůň\"", "Label1|Called|43 letters"},
    {"own words not true or false", "Name = \"Image1\"", "OwnWords = true", "OwnWords = 1",
     "Image1|OwnWords"},
    {"unknown cursor", "Name = \"Label1\"", "Cursor = \"talk\"", "Cursor = \"hand\"",
     "Label1|Cursor|hand"},
    {"handler that no code registers", "Name = \"Image1\"", "\"Image1_Click\"", "\"Image1_Klik\"",
     "Image1|Events.Click|Image1_Klik"},
    {"scene handler that no code registers", "", "\"Form_Load\"", "\"Form_Nahrat\"",
     "scene|Events.Load|Form_Nahrat"},
    {"click on a timer", "Name = \"Timer1\"", "Timer = \"Timer1_Timer\"",
     "Click = \"Timer1_Timer\"", "Timer1|Events.Click"},
    {"mouse move on a label", "Name = \"Label1\"", "Click = \"Label1_Click\"",
     "MouseMove = \"Label1_Click\"", "Label1|Events.MouseMove"},
    {"click on the scene", "", "Load = \"Form_Load\"", "Click = \"Form_Load\"",
     "scene|Events.Click"},
    {"timer event on a picture box", "Name = \"Picture1\"", "Click = \"Picture1_Click\"",
     "Timer = \"Picture1_Click\"", "Picture1|Events.Timer"},
    {"an event of no kind", "Name = \"Command1\"", "Click = \"Command1_Click\"",
     "DblClick = \"Command1_Click\"", "Command1|Events.DblClick"},
    {"events not a table", "Name = \"Command1\"", "Events = { Click = \"Command1_Click\" }",
     "Events = \"Command1_Click\"", "Command1|Events"},
    {"bad colour digit", "Name = \"Picture1\"", "BackColor = \"#A9D5F5\"",
     "BackColor = \"#A9D5G5\"", "Picture1|BackColor|#RRGGBB"},
    {"colour by name", "Name = \"Label1\"", "ForeColor = \"windowtext\"", "ForeColor = \"blue\"",
     "Label1|ForeColor|#RRGGBB"},
    {"short colour", "Name = \"Shape1\"", "BorderColor = \"#1174e1\"", "BorderColor = \"#1174e\"",
     "Shape1|BorderColor"},
    {"scene colour", "", "BackColor = \"#5FB0ED\"", "BackColor = \"5FB0ED\"", "scene|BackColor"},
    {"unclosed quote", "Name = \"Label1\"", "Caption = \"   Žluťoučký kůň\"",
     "Caption = \"   Žluťoučký kůň", "line 59"},
    {"missing bracket", "", "[[Control]]\nName = \"Timer1\"", "[[Control]\nName = \"Timer1\"",
     "line"},
    {"key twice", "Name = \"Shape1\"", "Top = 480", "Top = 480\nTop = 495", "line"},
    {"length as text", "Name = \"Label1\"", "Left = 240", "Left = \"240\"",
     "Label1|Left|whole number"},
    {"length as a fraction", "Name = \"Image1\"", "Top = 30", "Top = 30.0",
     "Image1|Top|whole number"},
    {"flag as a number", "Name = \"Picture1\"", "Visible = true", "Visible = 1",
     "Picture1|Visible|true or false"},
    {"font style as a number", "Name = \"Command1\"", "Bold = true", "Bold = 1",
     "Command1|Bold|true or false"},
    {"timer switch as a number", "Name = \"Timer1\"", "Enabled = true", "Enabled = 0",
     "Timer1|Enabled|true or false"},
    {"caption as a number", "Name = \"Label1\"", "Caption = \"   Žluťoučký kůň\"", "Caption = 5",
     "Label1|Caption|text"},
    {"font size as text", "Name = \"Label1\"", "Size = 12.0", "Size = \"12\"", "Label1|Font.Size"},
    {"font not a table", "Name = \"Command1\"", "Font = {", "Font = \"Arial\" #",
     "Command1|Font|table"},
    {"interval zero", "Name = \"Timer1\"", "Interval = 18500", "Interval = 0", "Timer1|Interval"},
    {"back style 2", "Name = \"Label1\"", "BackStyle = 0", "BackStyle = 2", "Label1|BackStyle"},
    {"button of style 0", "Name = \"Command1\"", "Style = 1", "Style = 0", "Command1|Style"},
    {"placement 3", "", "StartUpPosition = 0", "StartUpPosition = 3", "scene|StartUpPosition"},
    {"an unknown role", "", "\"menu\"]", "\"menus\"]", "scene|Roles|no such role"},
    {"a role twice", "", "\"first\", \"menu\"]", "\"menu\", \"menu\"]", "scene|Roles|twice"},
    {"roles not a list", "", "[\"first\", \"menu\"]", "\"first\"", "scene|Roles|list"},
    {"the first scene without the game's name", "", "GameTitle = \"Zkouška\"\n", "",
     "scene|GameTitle|missing"},
    {"the game's name on a scene it does not open with", "", "\"first\", ", "",
     "scene|GameTitle|only"},
    {"marks of the languages without a gap", "Name = \"Label1\"", "Gap = 45, ", "",
     "Label1|Gap|missing"},
    {"marks of the languages not a table", "Name = \"Label1\"", "ForEachLanguage = {",
     "ForEachLanguage = 1 #", "Label1|ForEachLanguage|table"},
    {"keys nested too deep", "", "ClientTop = 180\n",
     "ClientTop = "
     "180\na.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a = 1\n",
     "line 14|too deep"},
    {"a letter outside quotes", "Name = \"Label1\"", "Caption = \"   Žluťoučký kůň\"",
     "Caption = Žluťoučký", "line 59|outside quotes"},
    {"font size not a number", "Name = \"Label1\"", "Size = 12.0", "Size = nan",
     "Label1|Font.Size"},
    {"misspelt field", "Name = \"Image1\"", "Cursor = \"look\"", "Cursr = \"look\"",
     "Image1|Cursr|unknown"},
    {"window of 16380 pixels", "", "ClientWidth = 6765", "ClientWidth = 245700",
     "scene|ClientWidth|4096"},
    {"picture of another format", "Name = \"Picture1\"", "pictures/tiny.png", "pictures/gif.png",
     "Picture1|Picture|gif.png|not a PNG"},
    {"picture header of 30000 x 30000", "Name = \"Picture1\"", "pictures/tiny.png",
     "pictures/huge.png", "Picture1|Picture|30000"},
    {"picture that is a FIFO", "", "Picture = \"pictures/tiny.png\"",
     "Picture = \"pictures/fifo.png\"", "scene|Picture|fifo.png|not a regular file"},
#ifdef ORVAL_TEST_UNREADABLE_FILES
    {"picture that cannot be read", "Name = \"Picture1\"", "pictures/tiny.png", "pictures/loop.png",
     "Picture1|Picture|loop.png|cannot be read"},
#endif
};

TEST_F(LoaderTest, EveryDamageIsNamedByFileControlAndField) {
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        std::string text(kValid);
        const std::size_t at = text.find(damage.from, text.find(damage.after));
        ASSERT_NE(at, std::string::npos) << "the table names missing text";
        text.replace(at, std::string_view(damage.from).size(), damage.to);
        try {
            parse(text);
            ADD_FAILURE() << "the damaged description was accepted";
        } catch (const DescriptionError& error) {
            EXPECT_TRUE(mentions(error.what(), "zkouska.toml"));
            std::istringstream words(damage.words);
            for (std::string word; std::getline(words, word, '|');)
                EXPECT_TRUE(mentions(error.what(), word));
        }
    }
}

TEST_F(LoaderTest, AFileThatCannotBeReadIsNamed) {
    try {
        loadSceneDescription(data_.path() / "scenes" / "nic.toml", data_.path(), registered_);
        ADD_FAILURE() << "a missing file was read";
    } catch (const DataFileError& error) {
        EXPECT_TRUE(mentions(error.what(), "nic.toml"));
    }
}

// Parses damaged text; only a DescriptionError may come out, and nothing may crash.
void expectOnlyDescriptionErrors(std::string_view text, const fs::path& dataDir,
                                 const HandlerCheck& check, const std::string& trace) {
    try {
        parseSceneDescription(text, "orval.toml", dataDir, check);
    } catch (const DescriptionError&) {
    } catch (const std::exception& other) {
        ADD_FAILURE() << trace << ": " << other.what();
    } catch (...) {
        ADD_FAILURE() << trace << ": an exception of an unknown kind";
    }
}

TEST(LoaderGarbage, TruncatedAndGarbledDescriptionsOnlyGiveDescriptionErrors) {
    const fs::path data = sourceDir() / "data";
    const std::string text = readFile(data / "scenes" / "orval.toml");
    ASSERT_GT(text.size(), 1000u);
    const HandlerCheck any = [](std::string_view, std::string_view) { return true; };

    // The whole file is valid; every shorter prefix either is too or is rejected cleanly.
    EXPECT_EQ(parseSceneDescription(text, "orval.toml", data, any).controls.size(), 11u);
    for (std::size_t n = 0; n < text.size(); ++n)
        expectOnlyDescriptionErrors(std::string_view(text).substr(0, n), data, any,
                                    "prefix of " + std::to_string(n) + " bytes");

    std::mt19937 random(20240611u);
    std::uniform_int_distribution<std::size_t> position(0, text.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> flips(1, 6);
    const std::string interesting = "\"=[]{}#\n\\.-0123456789 ";
    std::uniform_int_distribution<std::size_t> pick(0, interesting.size() - 1);
    for (int round = 0; round < 3000; ++round) {
        std::string garbled = text;
        const int count = flips(random);
        for (int i = 0; i < count; ++i) {
            // Half the flips are arbitrary bytes, half are characters TOML gives meaning to.
            garbled[position(random)] =
                round % 2 ? static_cast<char>(byte(random)) : interesting[pick(random)];
        }
        expectOnlyDescriptionErrors(garbled, data, any, "round " + std::to_string(round));
    }

    // Keys and headers 40,000 levels deep: the parser's recursion would overflow the stack.
    std::string deep = "a";
    for (int i = 0; i < 40000; ++i) deep += ".a";
    expectOnlyDescriptionErrors(deep + " = 1\n", data, any, "a dotted key");
    expectOnlyDescriptionErrors("[" + deep + "]\n", data, any, "a table header");
    expectOnlyDescriptionErrors("[[" + deep + "]]\n", data, any, "an array of tables");
}

TEST(GameDescriptions, TheRealDataLoadsInTheGamesOrder) {
    const std::vector<SceneDescription> scenes = gameDescriptions();
    ASSERT_EQ(scenes.size(), 16u);
    for (std::size_t i = 0; i < scenes.size(); ++i) EXPECT_EQ(scenes[i].name, sceneNames()[i]);
}

struct DataDamage {
    const char* what;
    void (*damage)(const fs::path& scenes);
    std::vector<std::string> words;
};

const DataDamage kDataDamages[] = {
    {"a scene missing",
     [](const fs::path& s) { fs::remove(s / "pes.toml"); },
     {"no description of the scene pes"}},
    {"a scene twice",
     [](const fs::path& s) { fs::copy_file(s / "pes.toml", s / "pes-kopie.toml"); },
     {"pes", "also described"}},
    {"a scene renamed to one the game does not know",
     [](const fs::path& s) {
         std::string text = readFile(s / "pes.toml");
         text.replace(text.find("Name = \"pes\""), 12, "Name = \"kocka\"");
         writeFile(s / "pes.toml", text);
     },
     {"pes.toml"}},
    {"a damaged file",
     [](const fs::path& s) {
         std::string text = readFile(s / "mapa.toml");
         writeFile(s / "mapa.toml", text.substr(0, text.size() / 2) + "\n[[Control]\n");
     },
     {"mapa.toml"}},
    {"a handler bound to no event",
     [](const fs::path& s) {
         std::string text = readFile(s / "about.toml");
         text.replace(text.find("Events = { Click = \"Label1_Click\" }"), 35, "");
         writeFile(s / "about.toml", text);
     },
     {"Label1_Click", "about", "bound to no event"}},
    {"a FIFO in place of a description",
     [](const fs::path& s) {
         fs::remove(s / "pes.toml");
         makeFifo(s / "pes.toml");
     },
     {"pes.toml", "not a regular file"}},
    {"no descriptions at all",
     [](const fs::path& s) { fs::remove_all(s); },
     {"scene descriptions are missing"}},
#ifdef ORVAL_TEST_UNREADABLE_FILES
    {"a folder of descriptions that cannot be read",
     [](const fs::path& s) {
         fs::remove_all(s);
         makeUnreadable(s);
     },
     {"scenes", "cannot be read"}},
#endif
    {"two first scenes",
     [](const fs::path& s) {
         std::string text = readFile(s / "pes.toml");
         text.replace(text.find("Name = \"pes\"\n"), 13,
                      "Name = \"pes\"\nRoles = [\"first\"]\nGameTitle = \"Pes\"\n");
         writeFile(s / "pes.toml", text);
     },
     {"pes.toml", "Roles", "first", "ORVAL", "orval.toml"}},
    {"no first scene",
     [](const fs::path& s) {
         std::string text = readFile(s / "orval.toml");
         text.replace(text.find("\"first\", "), 9, "");
         text.replace(text.find("GameTitle"), 9, "# GameTitle");
         writeFile(s / "orval.toml", text);
     },
     {"no scene has the role first"}},
    {"no subtitles file",
     [](const fs::path& s) { fs::remove(s.parent_path() / "captions.tsv"); },
     {"no such file", "captions.tsv"}},
};

TEST(GameDescriptions, DamagedDataDirectoriesAreRejected) {
    for (const DataDamage& row : kDataDamages) {
        SCOPED_TRACE(row.what);
        TempDir temp;
        copyData(temp.path());
        row.damage(temp.path() / "data" / "scenes");
        try {
            gameDescriptions(temp.path());
            loadCaptions(temp.path() / "data" / "captions.tsv", soundClips());
            ADD_FAILURE() << "the damaged data was accepted";
        } catch (const DataFileError& error) {
            for (const std::string& word : row.words) EXPECT_TRUE(mentions(error.what(), word));
        }
    }
}

}  // namespace
}  // namespace orval::testing
