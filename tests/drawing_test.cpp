// What the player sees: every scene draws, every picture has the size the game was laid out
// for, and the details that would look wrong at a glance are right.
#include <cstdint>
#include <cstdlib>

#include "scenes/model/loader.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

constexpr Colour kSceneColour{0x5F, 0xB0, 0xED};
constexpr Colour kDeepAzure{0x11, 0x74, 0xE1};

struct Size {
    int w = 0, h = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

Size sizeOf(const std::string& file) {
    const Canvas canvas = canvasOf(file);
    return {canvas.width(), canvas.height()};
}

const ControlDescription& control(const TestGame& game, const char* scene, const char* name) {
    const SceneDescription& d = game.runtime->view().description(scene);
    return d.controls.at(static_cast<std::size_t>(d.find(name)));
}

TEST(Drawing, EverySceneDrawsWithPicturesOfTheirLaidOutSize) {
    // By scene and control ("" for the scene's own picture).
    const std::map<std::pair<std::string, std::string>, Size> pictures = {
        {{"ORVAL", ""}, {359, 227}},
        {{"ORVAL", "Picture1"}, {161, 30}},
        {{"ORVAL", "Picture2"}, {161, 30}},
        {{"ORVAL", "Picture3"}, {161, 30}},
        {{"ORVAL", "Picture4"}, {161, 30}},
        {{"ORVAL", "Picture5"}, {161, 30}},
        {{"ORVAL", "Picture6"}, {161, 30}},
        {{"ORVAL", "Picture7"}, {24, 16}},
        {{"Mapa", "Picture1"}, {438, 400}},
        {{"Inventář", "Picture2"}, {94, 54}},
        {{"Inventář", "Picture3"}, {94, 54}},
        {{"Inventář", "Picture4"}, {94, 54}},
        {{"Inventář", "Picture5"}, {94, 54}},
        {{"Inventář", "Picture6"}, {94, 54}},
        {{"about", ""}, {584, 531}},
        {{"about", "Picture1"}, {153, 59}},
        {{"win", ""}, {584, 531}},
        {{"doma", "Picture1"}, {804, 405}},
        {{"Sklad", "Picture1"}, {804, 402}},
        {{"Brown", "Picture1"}, {804, 401}},
        {{"green", "Picture1"}, {804, 402}},
        {{"Banka", "Picture1"}, {804, 403}},
        {{"Vila", "Picture1"}, {804, 403}},
        {{"pes", "Picture1"}, {804, 402}},
        {{"pes", "Picture2"}, {120, 128}},
        {{"black", "Picture1"}, {804, 404}},
    };
    const std::map<std::string, Size> cursors = {{"talk", {48, 48}}, {"walk", {48, 48}},
                                                 {"use", {48, 48}},  {"take", {48, 48}},
                                                 {"look", {32, 32}}, {"quit", {32, 32}}};
    std::set<std::pair<std::string, std::string>> seen;
    for (const std::string& scene : sceneNames()) {
        SCOPED_TRACE(scene);
        TestGame game(scene);
        ASSERT_TRUE(game.loaded(scene));
        ASSERT_EQ(game.runtime->view().fatalMessage(), "");
        const SceneDescription& d = game.runtime->view().description(scene);
        const Canvas canvas = game.runtime->render(scene);
        EXPECT_EQ(canvas.width(), d.clientWidth);
        EXPECT_EQ(canvas.height(), d.clientHeight);
        // What the window shows is that drawing.
        for (const auto& [x, y] :
             {std::pair{0, 0}, std::pair{d.clientWidth / 2, d.clientHeight / 2},
              std::pair{d.clientWidth - 1, d.clientHeight - 1}})
            EXPECT_EQ(game.pixel(scene, x, y), canvas.pixel(x, y)) << x << "," << y;

        const auto check = [&](const std::string& name, const std::string& file) {
            seen.insert({scene, name});
            const auto it = pictures.find({scene, name});
            ASSERT_NE(it, pictures.end()) << "a picture nobody laid out: " << file;
            EXPECT_EQ(sizeOf(file), it->second) << file;
        };
        if (!d.picture.empty()) check("", d.picture);
        for (const ControlDescription& c : d.controls) {
            if (!c.picture.empty()) check(c.name, c.picture);
            if (!c.cursor.empty()) {
                ASSERT_TRUE(cursors.contains(c.cursor)) << c.name << " cursor " << c.cursor;
                EXPECT_EQ(sizeOf(cursorFile(c.cursor)), cursors.at(c.cursor)) << c.cursor;
            }
        }
        if (scene == "ORVAL") {
            EXPECT_EQ(sizeOf(d.icon), (Size{48, 48}));
        } else {
            EXPECT_TRUE(d.icon.empty());
        }
    }
    for (const auto& [key, size] : pictures)
        EXPECT_TRUE(seen.contains(key)) << key.first << " " << key.second << " shows no picture";
}

// Screens that show the game at 2x or 3x get every picture and cursor drawn again from its SVG
// at that size: exactly k times the 1x picture, and not the 1x one with its pixels repeated.
TEST(Drawing, EveryPictureAndCursorIsDrawnAgainAtTwoAndThreeTimesItsSize) {
    int checked = 0;
    for (const std::string folder : {"pictures", "cursors"}) {
        for (const auto& item : fs::directory_iterator(sourceDir() / "data" / folder)) {
            if (item.path().extension() != ".png") continue;
            const std::string name = item.path().filename().string();
            const Size size = sizeOf(folder + "/" + name);
            for (const int k : {2, 3}) {
                const std::string file = folder + "/" + std::to_string(k) + "x/" + name;
                SCOPED_TRACE(file);
                ASSERT_TRUE(fs::exists(sourceDir() / "data" / file));
                const Canvas picture = canvasOf(file);
                ASSERT_EQ((Size{picture.width(), picture.height()}),
                          (Size{k * size.w, k * size.h}));
                // A blown-up picture is made of k x k squares of one colour, every one of them.
                const SDL_Surface* pixels = picture.surface();
                const auto at = [&](int x, int y) {
                    return static_cast<const std::uint32_t*>(
                        pixels->pixels)[y * pixels->pitch / 4 + x];
                };
                int mixedSquares = 0;
                for (int y = 0; y < size.h; ++y)
                    for (int x = 0; x < size.w; ++x)
                        for (int i = 1; i < k * k; ++i)
                            if (at(k * x + i % k, k * y + i / k) != at(k * x, k * y)) {
                                ++mixedSquares;
                                break;
                            }
                EXPECT_GT(mixedSquares, size.w + size.h) << "drawn from the 1x picture";
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 2 * 30);
}

// A picture with words has its English twin in pictures/en/ at every scale, in the same place
// as the Czech one and of its size, with its words drawn anew; a picture without words has none.
TEST(Drawing, EveryEnglishPictureStandsInForItsCzechOneAtEveryScale) {
    const fs::path data = sourceDir() / "data";
    int pictures = 0;
    for (const auto& item : fs::directory_iterator(data / "pictures" / "en")) {
        if (item.path().extension() != ".png") continue;
        const std::string name = item.path().filename().string();
        ++pictures;
        for (const std::string scale : {"", "2x/", "3x/"}) {
            const std::string czech = "pictures/" + scale + name;
            const std::string english = "pictures/en/" + scale + name;
            SCOPED_TRACE(english);
            ASSERT_TRUE(fs::exists(data / czech)) << "no Czech picture of this name";
            ASSERT_TRUE(fs::exists(data / english));
            EXPECT_EQ(sizeOf(english), sizeOf(czech));
            EXPECT_TRUE(readFile(data / english) != readFile(data / czech)) << "the same picture";
        }
    }
    for (const std::string scale : {"2x", "3x"})
        for (const auto& item : fs::directory_iterator(data / "pictures" / "en" / scale))
            EXPECT_TRUE(fs::exists(data / "pictures" / "en" / item.path().filename()))
                << item.path() << " has no 1x picture";
    EXPECT_EQ(pictures, 15);  // the pictures whose lettering is Czech
    // The language lists exactly its twins (data/en/assets.txt), so the game needs no look.
    const Language english = Language::load(sourceDir(), "en", soundClips());
    for (const auto& item : fs::directory_iterator(data / "pictures")) {
        if (item.path().extension() != ".png") continue;
        const std::string shared = "pictures/" + item.path().filename().string();
        const std::string twin = "pictures/en/" + item.path().filename().string();
        EXPECT_EQ(english.picture(shared), fs::exists(data / twin) ? twin : shared);
    }
}

TEST(Drawing, PlacePicturesLieUnscaledInTheirBoxWithTheSceneColourAroundThem) {
    for (const char* scene :
         {"doma", "Sklad", "Brown", "green", "Banka", "Vila", "pes", "black", "Mapa"}) {
        SCOPED_TRACE(scene);
        TestGame game(scene);
        const ControlDescription& box = control(game, scene, "Picture1");
        EXPECT_EQ(box.rect,
                  std::string(scene) == "Mapa" ? (Rect{8, 40, 441, 401}) : (Rect{8, 40, 809, 409}));
        const Canvas canvas = game.runtime->render(scene);
        const Canvas picture = canvasOf(box.picture);
        const int w = picture.width(), h = picture.height();
        const Rect& r = box.rect;
        ASSERT_LT(w, r.w);
        ASSERT_LT(h, r.h);
        EXPECT_EQ(mismatches(canvas, {r.x, r.y, w, h}, picture), 0);
        // The strips to the right of and below the picture, as far as they lie in the window.
        for (Rect strip : {Rect{r.x + w, r.y, r.w - w, r.h}, Rect{r.x, r.y + h, r.w, r.h - h}}) {
            strip = intersect(strip, canvas.bounds());
            EXPECT_EQ(countColour(canvas, strip, kSceneColour), strip.w * strip.h);
        }
    }
}

TEST(Drawing, TheCloseLabelShowsADeepAzureXInTheCorner) {
    for (const char* scene : {"doma", "Sklad", "Brown", "green", "Banka", "Vila", "pes", "black"}) {
        SCOPED_TRACE(scene);
        TestGame game(scene);
        const Canvas canvas = game.runtime->render(scene);
        const Rect label{808, 0, 9, 17};
        EXPECT_GE(countColour(canvas, label, kDeepAzure), 1);
        // The letter's strokes lie within a shade of the text colour; the rest of the label is
        // the scene colour or the letter's soft edge between the two (give or take the
        // blending's rounding).
        int strokes = 0, other = 0;
        const auto near = [](int v, int a) { return std::abs(v - a) <= 8; };
        const auto between = [](int v, int a, int b) { return v >= a - 3 && v <= b + 3; };
        for (int y = label.y; y < label.y + label.h; ++y)
            for (int x = label.x; x < label.x + label.w; ++x) {
                const Colour c = canvas.pixel(x, y);
                strokes +=
                    near(c.r, kDeepAzure.r) && near(c.g, kDeepAzure.g) && near(c.b, kDeepAzure.b);
                other += !(between(c.r, kDeepAzure.r, kSceneColour.r) &&
                           between(c.g, kDeepAzure.g, kSceneColour.g) &&
                           between(c.b, kDeepAzure.b, kSceneColour.b));
            }
        EXPECT_GE(strokes, 8);
        EXPECT_EQ(other, 0);
        // Nothing of it spills past the label.
        EXPECT_EQ(countColour(canvas, {label.x - 4, 0, 4, 17}, kSceneColour), 4 * 17);
        EXPECT_EQ(countColour(canvas, {label.x, label.h, label.w, 4}, kSceneColour), 4 * 9);
    }
}

TEST(Drawing, TheMakersLogoLosesItsTwoBottomRows) {
    TestGame game("about");
    const Canvas canvas = game.runtime->render("about");
    const Canvas logo = canvasOf("pictures/logo.png");
    ASSERT_EQ(logo.height(), 59);
    const Rect box{428, 468, 153, 57};
    EXPECT_EQ(control(game, "about", "Picture1").rect, box);
    // The box shows the logo's rows 0 to 56, unscaled, in front of the address label; the logo
    // is not the same two rows lower, so this tells where it lies.
    EXPECT_EQ(mismatches(canvas, box, logo), 0);
    EXPECT_GT(mismatches(canvas, box, logo, 0, 2), 0);
    // The credits picture is drawn from the window's corner and clipped to it.
    EXPECT_EQ(mismatches(canvas, {0, 0, 400, 440}, canvasOf("pictures/credits.png")), 0);
}

TEST(Drawing, TheInventoryShowsItsFrameTitleAndTheOwnedItemsOnly) {
    const std::pair<const char*, const char*> slots[] = {
        {"Picture2", "pictures/item-pistol.png"},
        {"Picture3", "pictures/item-bug.png"},
        {"Picture4", "pictures/item-meat.png"},
        {"Picture5", "pictures/item-peanuts.png"},
        {"Picture6", "pictures/item-cassette.png"}};
    const Point frame[] = {{8, 32},   {504, 32},  {8, 104}, {504, 104},
                           {250, 32}, {250, 104}, {8, 70},  {504, 70}};
    for (int owned = -1; owned < 5; ++owned) {
        SCOPED_TRACE(owned < 0 ? "nothing owned" : slots[owned].first);
        TestGame game("Inventář");
        // The warehouse, the conversation or the night at the villa hand the item over.
        if (owned >= 0) game.runtime->setVisible("Inventář", slots[owned].first, true);
        const Canvas canvas = game.runtime->render("Inventář");
        if (owned < 0) {
            EXPECT_EQ(countColour(canvas, {16, 40, 480, 54}, kSceneColour), 480 * 54);
        }
        for (int i = 0; i < 5; ++i) {
            const Rect& r = control(game, "Inventář", slots[i].first).rect;
            const Rect area{r.x, r.y, 94, 54};
            if (i == owned) {
                EXPECT_EQ(mismatches(canvas, area, canvasOf(slots[i].second)), 0);
            } else {
                EXPECT_EQ(countColour(canvas, area, kSceneColour), 94 * 54) << slots[i].first;
            }
        }
        for (const auto& [x, y] : frame)
            EXPECT_EQ(canvas.pixel(x, y), kDeepAzure) << "the frame at " << x << "," << y;
        EXPECT_GT(countColour(canvas, {192, 0, 129, 25}, Colour{0, 0, 255}), 20) << "the title";
    }
}

TEST(Drawing, TheFedDogAppearsOverTheGuardDog) {
    const Canvas dog = canvasOf("pictures/dog.png");
    const Canvas eating = canvasOf("pictures/dog-eating.png");
    const Rect area{8 + 272, 40 + 189, 120, 128};
    TestGame game("pes");
    EXPECT_EQ(mismatches(game.runtime->render("pes"), area, dog, 272, 189), 0);
    EXPECT_GT(mismatches(game.runtime->render("pes"), area, eating), 0);
    game.runtime->setVisible("pes", "Picture2", true);  // as the meat's use does
    const Canvas fed = game.runtime->render("pes");
    EXPECT_EQ(mismatches(fed, area, eating), 0);
    // Around it the corridor is unchanged.
    EXPECT_EQ(mismatches(fed, {8, 40, 272, 400}, dog), 0);
    EXPECT_EQ(mismatches(fed, {8 + 392, 40, 412, 400}, dog, 392, 0), 0);
}

}  // namespace
}  // namespace orval::testing
