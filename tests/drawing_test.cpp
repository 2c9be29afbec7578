// What the player sees: every scene draws, every picture has the size the game was laid out
// for, and the details that would look wrong at a glance are right.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "scenes/model/loader.h"
#include "tests/test_game.h"

namespace orval {
namespace {

using testing::TestGame;

constexpr Colour kSceneColour{0x5F, 0xB0, 0xED};
constexpr Colour kDeepAzure{0x11, 0x74, 0xE1};

struct Size {
    int w = 0, h = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// The size of every picture the scenes show, by scene and control ("" for the scene's own
// picture).
const std::map<std::pair<std::string, std::string>, Size>& expectedPictures() {
    static const std::map<std::pair<std::string, std::string>, Size> sizes = {
        {{"ORVAL", ""}, {359, 227}},          {{"ORVAL", "Picture1"}, {161, 30}},
        {{"ORVAL", "Picture2"}, {161, 30}},   {{"ORVAL", "Picture3"}, {161, 30}},
        {{"ORVAL", "Picture4"}, {161, 30}},   {{"ORVAL", "Picture5"}, {161, 30}},
        {{"ORVAL", "Picture6"}, {161, 30}},   {{"Mapa", "Picture1"}, {438, 400}},
        {{"Inventář", "Picture2"}, {94, 54}}, {{"Inventář", "Picture3"}, {94, 54}},
        {{"Inventář", "Picture4"}, {94, 54}}, {{"Inventář", "Picture5"}, {94, 54}},
        {{"Inventář", "Picture6"}, {94, 54}}, {{"about", ""}, {584, 531}},
        {{"about", "Picture1"}, {153, 59}},   {{"win", ""}, {584, 531}},
        {{"doma", "Picture1"}, {804, 405}},   {{"Sklad", "Picture1"}, {804, 402}},
        {{"Brown", "Picture1"}, {804, 401}},  {{"green", "Picture1"}, {804, 402}},
        {{"Banka", "Picture1"}, {804, 403}},  {{"Vila", "Picture1"}, {804, 403}},
        {{"pes", "Picture1"}, {804, 402}},    {{"pes", "Picture2"}, {120, 128}},
        {{"black", "Picture1"}, {804, 404}},
    };
    return sizes;
}

const std::map<std::string, Size>& expectedCursors() {
    static const std::map<std::string, Size> sizes = {
        {"talk", {48, 48}}, {"walk", {48, 48}}, {"use", {48, 48}},
        {"take", {48, 48}}, {"look", {32, 32}},
    };
    return sizes;
}

Size sizeOf(PictureStore& store, const std::string& file) {
    SDL_Surface* picture = store.get(file);
    return {picture->w, picture->h};
}

// A decoded picture as a canvas of its own size, to read its pixels.
Canvas canvasOf(PictureStore& store, const std::string& file) {
    SDL_Surface* picture = store.get(file);
    Canvas canvas(picture->w, picture->h);
    canvas.draw(picture, 0, 0, canvas.bounds());
    return canvas;
}

// Pixels of `area` in `canvas` that differ from `picture` drawn with its corner at the area's
// corner, starting at (px, py) in the picture.
int mismatches(const Canvas& canvas, const Rect& area, const Canvas& picture, int px = 0,
               int py = 0) {
    int wrong = 0;
    for (int y = 0; y < area.h; ++y)
        for (int x = 0; x < area.w; ++x)
            if (canvas.pixel(area.x + x, area.y + y) != picture.pixel(px + x, py + y)) ++wrong;
    return wrong;
}

// Pixels of `area`, as far as it lies inside the window, that are not `colour`.
int pixelsNot(const Canvas& canvas, Rect area, Colour colour) {
    area.w = std::min(area.w, canvas.width() - area.x);
    area.h = std::min(area.h, canvas.height() - area.y);
    int wrong = 0;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x)
            if (canvas.pixel(x, y) != colour) ++wrong;
    return wrong;
}

int pixelsOf(const Canvas& canvas, const Rect& area, Colour colour) {
    return std::min(area.w, canvas.width() - area.x) * std::min(area.h, canvas.height() - area.y) -
           pixelsNot(canvas, area, colour);
}

TEST(Drawing, EverySceneDrawsWithPicturesOfTheirLaidOutSize) {
    PictureStore store(testing::sourceDir() / "data");
    std::set<std::pair<std::string, std::string>> seen;
    for (const std::string& scene : sceneNames()) {
        SCOPED_TRACE(scene);
        TestGame game(scene);
        ASSERT_TRUE(game.loaded(scene));
        ASSERT_EQ(game.runtime->fatalMessage(), "");
        const SceneDescription& d = game.runtime->description(scene);
        const Canvas canvas = game.runtime->render(scene);
        EXPECT_EQ(canvas.width(), d.clientWidth);
        EXPECT_EQ(canvas.height(), d.clientHeight);
        // What the window shows is that drawing.
        for (const auto& [x, y] :
             {std::pair{0, 0}, std::pair{d.clientWidth / 2, d.clientHeight / 2},
              std::pair{d.clientWidth - 1, d.clientHeight - 1}})
            EXPECT_EQ(game.pixel(scene, x, y), canvas.pixel(x, y)) << x << "," << y;

        auto check = [&](const std::string& control, const std::string& file) {
            SCOPED_TRACE(control.empty() ? "scene picture" : control);
            seen.insert({scene, control});
            const auto it = expectedPictures().find({scene, control});
            if (it == expectedPictures().end()) {
                ADD_FAILURE() << "a picture nobody laid out: " << file;
                return;
            }
            Size size;
            ASSERT_NO_THROW(size = sizeOf(store, file)) << file;
            EXPECT_EQ(size, it->second) << file << " is " << size.w << "x" << size.h;
        };
        if (!d.picture.empty()) check("", d.picture);
        for (const ControlDescription& c : d.controls) {
            if (!c.picture.empty()) check(c.name, c.picture);
            if (!c.cursor.empty()) {
                SCOPED_TRACE(c.name + " cursor " + c.cursor);
                const auto it = expectedCursors().find(c.cursor);
                ASSERT_NE(it, expectedCursors().end());
                EXPECT_EQ(sizeOf(store, cursorFile(c.cursor)), it->second);
            }
        }
        if (scene == "ORVAL") {
            ASSERT_FALSE(d.icon.empty());
            EXPECT_EQ(sizeOf(store, d.icon), (Size{48, 48}));
        } else {
            EXPECT_TRUE(d.icon.empty());
        }
    }
    for (const auto& [key, size] : expectedPictures())
        EXPECT_TRUE(seen.count(key)) << key.first << " " << key.second << " shows no picture";
}

struct Place {
    const char* scene;
    Rect box;  // Picture1 in window pixels
};

// The picture boxes of the places and the map, larger than their pictures.
const Place kPlaces[] = {
    {"doma", {8, 40, 809, 409}},  {"Sklad", {8, 40, 809, 409}}, {"Brown", {8, 40, 809, 409}},
    {"green", {8, 40, 809, 409}}, {"Banka", {8, 40, 809, 409}}, {"Vila", {8, 40, 809, 409}},
    {"pes", {8, 40, 809, 409}},   {"black", {8, 40, 809, 409}}, {"Mapa", {8, 40, 441, 401}},
};

TEST(Drawing, PlacePicturesLieUnscaledInTheirBoxWithTheSceneColourAroundThem) {
    PictureStore store(testing::sourceDir() / "data");
    for (const Place& place : kPlaces) {
        SCOPED_TRACE(place.scene);
        TestGame game(place.scene);
        const SceneDescription& d = game.runtime->description(place.scene);
        const auto& box = d.controls.at(static_cast<std::size_t>(d.find("Picture1")));
        EXPECT_EQ((Rect{box.rect.x, box.rect.y, box.rect.w, box.rect.h}), place.box);
        const Canvas canvas = game.runtime->render(place.scene);
        const Canvas picture = canvasOf(store, box.picture);
        const int w = picture.width(), h = picture.height();
        ASSERT_LT(w, place.box.w);
        ASSERT_LT(h, place.box.h);
        EXPECT_EQ(mismatches(canvas, {place.box.x, place.box.y, w, h}, picture), 0);
        // The strip to the right of and below the picture.
        EXPECT_EQ(pixelsNot(canvas, {place.box.x + w, place.box.y, place.box.w - w, place.box.h},
                            kSceneColour),
                  0);
        EXPECT_EQ(pixelsNot(canvas, {place.box.x, place.box.y + h, place.box.w, place.box.h - h},
                            kSceneColour),
                  0);
    }
}

TEST(Drawing, TheCloseLabelShowsADeepAzureXInTheCorner) {
    for (const Place& place : kPlaces) {
        if (std::string(place.scene) == "Mapa") continue;
        SCOPED_TRACE(place.scene);
        TestGame game(place.scene);
        const Canvas canvas = game.runtime->render(place.scene);
        const Rect label{808, 0, 9, 17};
        // The letter's strokes: pixels in the text colour itself or within a shade of it.
        EXPECT_GE(pixelsOf(canvas, label, kDeepAzure), 1);
        int strokes = 0;
        for (int y = label.y; y < label.y + label.h; ++y)
            for (int x = label.x; x < label.x + label.w; ++x) {
                const Colour c = canvas.pixel(x, y);
                if (std::abs(c.r - kDeepAzure.r) <= 8 && std::abs(c.g - kDeepAzure.g) <= 8 &&
                    std::abs(c.b - kDeepAzure.b) <= 8)
                    ++strokes;
            }
        EXPECT_GE(strokes, 8);
        // Only the X: the rest of the label is the scene colour or the letter's soft edge.
        int other = 0;
        for (int y = label.y; y < label.y + label.h; ++y)
            for (int x = label.x; x < label.x + label.w; ++x) {
                const Colour c = canvas.pixel(x, y);
                // (give or take the blending's rounding)
                const auto within = [](int v, int a, int b) { return v >= a - 3 && v <= b + 3; };
                const bool between = within(c.r, kDeepAzure.r, kSceneColour.r) &&
                                     within(c.g, kDeepAzure.g, kSceneColour.g) &&
                                     within(c.b, kDeepAzure.b, kSceneColour.b);
                if (!between) ++other;
            }
        EXPECT_EQ(other, 0);
        // Nothing of it spills past the label.
        EXPECT_EQ(pixelsNot(canvas, {label.x - 4, 0, 4, 17}, kSceneColour), 0);
        EXPECT_EQ(pixelsNot(canvas, {label.x, label.h, label.w, 4}, kSceneColour), 0);
    }
}

TEST(Drawing, TheMakersLogoLosesItsTwoBottomRows) {
    PictureStore store(testing::sourceDir() / "data");
    TestGame game("about");
    const Canvas canvas = game.runtime->render("about");
    const Canvas logo = canvasOf(store, "pictures/logo.png");
    ASSERT_EQ(logo.height(), 59);
    const Rect box{428, 468, 153, 57};
    const SceneDescription& d = game.runtime->description("about");
    EXPECT_EQ(d.controls.at(static_cast<std::size_t>(d.find("Picture1"))).rect, box);
    // The box shows the logo's rows 0 to 56, unscaled, in front of the address label.
    EXPECT_EQ(mismatches(canvas, box, logo), 0);
    // The logo is not the same two rows lower, so the check above can tell where it lies.
    EXPECT_GT(mismatches(canvas, box, logo, 0, 2), 0);
    // The credits picture is drawn from the window's corner and clipped to it.
    const Canvas credits = canvasOf(store, "pictures/credits.png");
    EXPECT_EQ(mismatches(canvas, {0, 0, 400, 440}, credits), 0);
}

TEST(Drawing, AnEmptySlotShowsTheWindowColourAndAnOwnedOneItsPicture) {
    PictureStore store(testing::sourceDir() / "data");
    const std::pair<const char*, const char*> slots[] = {
        {"Picture2", "pictures/item-pistol.png"},
        {"Picture3", "pictures/item-bug.png"},
        {"Picture4", "pictures/item-meat.png"},
        {"Picture5", "pictures/item-peanuts.png"},
        {"Picture6", "pictures/item-cassette.png"}};
    for (const auto& [owned, file] : slots) {
        SCOPED_TRACE(owned);
        TestGame game("Inventář");
        // The warehouse, the conversation or the night at the villa hand the item over.
        game.runtime->setVisible("Inventář", owned, true);
        const Canvas canvas = game.runtime->render("Inventář");
        const SceneDescription& d = game.runtime->description("Inventář");
        for (const auto& [box, unused] : slots) {
            const auto& c = d.controls.at(static_cast<std::size_t>(d.find(box)));
            const Rect area{c.rect.x, c.rect.y, 94, 54};
            if (std::string(box) == owned)
                EXPECT_EQ(mismatches(canvas, area, canvasOf(store, file)), 0) << box;
            else
                EXPECT_EQ(pixelsNot(canvas, area, kSceneColour), 0) << box;
        }
    }
}

TEST(Drawing, TheFedDogAppearsOverTheGuardDog) {
    PictureStore store(testing::sourceDir() / "data");
    const Canvas dog = canvasOf(store, "pictures/dog.png");
    const Canvas eating = canvasOf(store, "pictures/dog-eating.png");
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
}  // namespace orval
