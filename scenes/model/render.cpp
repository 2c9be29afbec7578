#include "scenes/model/render.h"

#include <algorithm>

#include "scenes/model/focus.h"
#include "scenes/model/hit_test.h"
#include "scenes/model/loader.h"

namespace orval {
namespace {

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kButtonDark{105, 105, 105};
constexpr Colour kEdge{31, 26, 23};  // the art's outline colour

// A raised button face with the caption centred, as a graphical command button looks.
void drawButton(Canvas& canvas, Fonts& fonts, const ControlDescription& c, const Rect& area,
                const Rect& clip, bool focused) {
    canvas.fill(area, c.backColour.value_or(Colour{240, 240, 240}), clip);
    canvas.fill({area.x, area.y, area.w - 1, 1}, kWhite, clip);
    canvas.fill({area.x, area.y, 1, area.h - 1}, kWhite, clip);
    canvas.fill({area.x, area.y + area.h - 1, area.w, 1}, kBlack, clip);
    canvas.fill({area.x + area.w - 1, area.y, 1, area.h}, kBlack, clip);
    canvas.fill({area.x + 1, area.y + area.h - 2, area.w - 2, 1}, kButtonDark, clip);
    canvas.fill({area.x + area.w - 2, area.y + 1, 1, area.h - 2}, kButtonDark, clip);
    const int textWidth = fonts.measure(c.font, c.caption);
    const int textHeight = fonts.lineHeight(c.font);
    fonts.drawLine(canvas, c.font, c.caption, c.foreColour.value_or(kBlack),
                   area.x + (area.w - textWidth) / 2, area.y + (area.h - textHeight) / 2,
                   intersect(area, clip));
    if (focused) {
        // The dotted focus mark inside the face.
        const Rect mark{area.x + 4, area.y + 4, area.w - 8, area.h - 8};
        for (int x = mark.x; x < mark.x + mark.w; x += 2) {
            canvas.fill({x, mark.y, 1, 1}, kBlack, clip);
            canvas.fill({x, mark.y + mark.h - 1, 1, 1}, kBlack, clip);
        }
        for (int y = mark.y; y < mark.y + mark.h; y += 2) {
            canvas.fill({mark.x, y, 1, 1}, kBlack, clip);
            canvas.fill({mark.x + mark.w - 1, y, 1, 1}, kBlack, clip);
        }
    }
}

struct Painter {
    const SceneDescription& scene;
    const SceneFlags& flags;
    const PictureStore& pictures;
    Fonts& fonts;
    Canvas& canvas;
    const RenderOptions& options;

    // Draws the children of `parent` back to front, so that the first in order lies in front.
    void children(int parent, int originX, int originY, const Rect& clip) {
        for (std::size_t n = scene.controls.size(); n-- > 0;) {
            const ControlDescription& c = scene.controls[n];
            if (c.parent != parent || !flags[n].visible) continue;
            const Rect area{originX + c.rect.x, originY + c.rect.y, c.rect.w, c.rect.h};
            const Rect inside = intersect(area, clip);
            switch (c.kind) {
                case ControlKind::PictureBox:
                    if (c.backColour) canvas.fill(area, *c.backColour, clip);
                    if (!c.picture.empty())
                        canvas.draw(pictures.load(c.picture, canvas.scale()).get(), area.x, area.y,
                                    inside);
                    children(static_cast<int>(n), area.x, area.y, inside);
                    break;
                case ControlKind::Label:
                    if (c.opaque && c.backColour) canvas.fill(area, *c.backColour, clip);
                    if (c.centred)
                        fonts.drawLine(canvas, c.font, c.caption, c.foreColour.value_or(kBlack),
                                       area.x + (area.w - fonts.measure(c.font, c.caption)) / 2,
                                       area.y + (area.h - fonts.lineHeight(c.font)) / 2, inside);
                    else
                        fonts.drawText(canvas, c.font, c.caption, c.foreColour.value_or(kBlack),
                                       area, clip);
                    break;
                case ControlKind::Shape:
                    canvas.outline(area, c.borderColour, clip);
                    break;
                case ControlKind::CommandButton:
                    drawButton(canvas, fonts, c, area, clip, options.buttonHasFocus);
                    break;
                case ControlKind::Image:
                case ControlKind::Timer:
                    break;
            }
        }
    }
};

// Snapshot aid: every control that can take a click, outlined and named.
void outlineHotspots(const SceneDescription& scene, const SceneFlags& flags, Fonts& fonts,
                     Canvas& canvas) {
    const Font small{"", 7.5, true, false};
    for (std::size_t i = 0; i < scene.controls.size(); ++i) {
        const ControlDescription& c = scene.controls[i];
        if (c.kind != ControlKind::Image && c.handlers.empty()) continue;
        if (c.kind == ControlKind::Timer) continue;
        const Rect area = visibleRect(scene, static_cast<int>(i));
        if (area.w <= 0 || area.h <= 0) continue;
        const Colour colour = flags[i].enabled ? Colour{255, 0, 0} : Colour{255, 160, 0};
        canvas.outline(area, colour, canvas.bounds());
        canvas.outline({area.x + 1, area.y + 1, area.w - 2, area.h - 2}, colour, canvas.bounds());
        const std::string name = c.name + (flags[i].enabled ? "" : " (off)");
        const int w = fonts.measure(small, name) + 4;
        canvas.fill({area.x + 2, area.y + 2, w, fonts.lineHeight(small)}, colour, canvas.bounds());
        fonts.drawLine(canvas, small, name, kWhite, area.x + 4, area.y + 2, canvas.bounds());
    }
}

// The player's aid: where a click does something, and what kind of thing (the cursor says).
void markHotspots(const SceneDescription& scene, const SceneFlags& flags,
                  const PictureStore& pictures, Canvas& canvas) {
    constexpr Colour kMark{255, 225, 77};
    for (std::size_t i = 0; i < scene.controls.size(); ++i) {
        const ControlDescription& c = scene.controls[i];
        // The hotspots over the pictures, and the "X" that quits, which says no more than that.
        const bool quiet = c.kind == ControlKind::Label && doesSomething(c) && !showsOwnWords(c);
        if ((c.kind != ControlKind::Image && !quiet) || !flags[i].enabled) continue;
        const Rect area = visibleRect(scene, static_cast<int>(i));
        if (area.w <= 0 || area.h <= 0 || !reachablePoint(scene, flags, static_cast<int>(i)))
            continue;
        const Rect all = canvas.bounds();
        canvas.outline(area, kEdge, all);
        canvas.outline({area.x + 1, area.y + 1, area.w - 2, area.h - 2}, kMark, all);
        canvas.outline({area.x + 2, area.y + 2, area.w - 4, area.h - 4}, kMark, all);
        canvas.outline({area.x + 3, area.y + 3, area.w - 6, area.h - 6}, kEdge, all);
        if (c.cursor.empty()) continue;
        const SurfacePtr cursor = pictures.load(cursorFile(c.cursor), canvas.scale());
        const int w = cursor->w / canvas.scale(), h = cursor->h / canvas.scale();
        canvas.draw(cursor.get(), area.x + (area.w - w) / 2, area.y + (area.h - h) / 2, area);
    }
}

// The keyboard's mark: a rounded ring, dark, white, white, dark, just outside the area and
// kept on the window, so that it shows on light and dark pictures alike.
void drawFocusRing(Canvas& canvas, const Rect& area) {
    constexpr int kWidth = 4;
    const Rect all = canvas.bounds();
    const Rect ring = intersect(
        {area.x - kWidth, area.y - kWidth, area.w + 2 * kWidth, area.h + 2 * kWidth}, all);
    const Colour lines[kWidth] = {kEdge, kWhite, kWhite, kEdge};
    for (int j = 0; j < kWidth; ++j) {
        const Rect r{ring.x + j, ring.y + j, ring.w - 2 * j, ring.h - 2 * j};
        const int cut = std::max(0, 2 - j);  // the outer lines round the corners off
        canvas.fill({r.x + cut, r.y, r.w - 2 * cut, 1}, lines[j], all);
        canvas.fill({r.x + cut, r.y + r.h - 1, r.w - 2 * cut, 1}, lines[j], all);
        canvas.fill({r.x, r.y + cut, 1, r.h - 2 * cut}, lines[j], all);
        canvas.fill({r.x + r.w - 1, r.y + cut, 1, r.h - 2 * cut}, lines[j], all);
    }
    // The outer line's diagonal step closes each rounded corner.
    for (const auto& [x, y] : {std::pair{ring.x + 1, ring.y + 1},
                               {ring.x + ring.w - 2, ring.y + 1},
                               {ring.x + 1, ring.y + ring.h - 2},
                               {ring.x + ring.w - 2, ring.y + ring.h - 2}})
        canvas.fill({x, y, 1, 1}, kEdge, all);
}

}  // namespace

void renderScene(const SceneDescription& scene, const SceneFlags& flags,
                 const PictureStore& pictures, Fonts& fonts, Canvas& canvas,
                 const RenderOptions& options) {
    const Rect window{0, 0, scene.clientWidth, scene.clientHeight};
    canvas.fill(window, scene.backColour.value_or(kBlack), window);
    if (!scene.picture.empty())
        canvas.draw(pictures.load(scene.picture, canvas.scale()).get(), 0, 0, window);
    Painter{scene, flags, pictures, fonts, canvas, options}.children(-1, 0, 0, window);
    if (options.markHotspots) markHotspots(scene, flags, pictures, canvas);
    if (options.focusRing) drawFocusRing(canvas, *options.focusRing);
    if (options.nameLine)
        drawNameLine(options.nameLine->line, options.nameLine->place, fonts, canvas);
    if (options.soundOff) {
        const SurfacePtr mark = pictures.load(kSoundOffPicture, canvas.scale());
        const int w = mark->w / canvas.scale();
        canvas.draw(mark.get(), window.w - w - kSoundOffMargin, kSoundOffMargin, window);
    }
    if (options.outlineHotspots) outlineHotspots(scene, flags, fonts, canvas);
}

namespace {

constexpr int kBoxTextWidth = 360;

void drawInformationIcon(Canvas& canvas, int x, int y) {
    // A blue disc with a white "i", drawn from rows so it needs no picture file.
    canvas.disc(x, y, 32, {17, 116, 225}, canvas.bounds());
    canvas.fill({x + 14, y + 7, 4, 4}, kWhite, canvas.bounds());
    canvas.fill({x + 14, y + 13, 4, 12}, kWhite, canvas.bounds());
    canvas.fill({x + 12, y + 13, 2, 2}, kWhite, canvas.bounds());
    canvas.fill({x + 12, y + 23, 8, 2}, kWhite, canvas.bounds());
}

}  // namespace

MessageBoxLayout layoutMessageBox(std::string_view title, std::string_view text, Fonts& fonts) {
    const auto measure = [&](std::string_view s) { return fonts.measure(kBoxFont, s); };
    const auto lines = layoutText(text, kBoxTextWidth, measure);
    int textWidth = fonts.measure(kBoxBoldFont, title) + 24;
    for (const std::string& line : lines) textWidth = std::max(textWidth, measure(line));
    const int textHeight = static_cast<int>(lines.size()) * fonts.lineHeight(kBoxFont);
    MessageBoxLayout layout;
    layout.width = std::max(220, 16 + 32 + 14 + textWidth + 20);
    const int body = std::max(32, textHeight);
    layout.okButton = {0, kBoxTitleHeight + 18 + body + 18, 88, 26};
    layout.okButton.x = (layout.width - layout.okButton.w) / 2;
    layout.height = layout.okButton.y + layout.okButton.h + 14;
    return layout;
}

void drawBoxFrame(std::string_view title, Fonts& fonts, Canvas& canvas) {
    const Rect all = canvas.bounds();
    canvas.fill(all, {240, 240, 240}, all);
    canvas.outline(all, {17, 116, 225}, all);
    canvas.fill({1, 1, all.w - 2, kBoxTitleHeight}, {17, 116, 225}, all);
    fonts.drawLine(canvas, kBoxBoldFont, title, kWhite, 8,
                   (kBoxTitleHeight - fonts.lineHeight(kBoxBoldFont)) / 2 + 1, all);
}

void drawOkButton(const Rect& button, bool pressed, Fonts& fonts, Canvas& canvas,
                  std::string_view word) {
    ControlDescription ok;
    ok.caption = std::string(word);
    ok.font = kBoxFont;
    ok.backColour = Colour{225, 225, 225};
    const Rect face = pressed ? Rect{button.x + 1, button.y + 1, button.w, button.h} : button;
    drawButton(canvas, fonts, ok, face, canvas.bounds(), true);
}

void renderMessageBox(std::string_view title, std::string_view text, Fonts& fonts, Canvas& canvas,
                      bool okPressed, std::string_view ok) {
    const MessageBoxLayout layout = layoutMessageBox(title, text, fonts);
    drawBoxFrame(title, fonts, canvas);
    drawInformationIcon(canvas, 16, kBoxTitleHeight + 18);
    fonts.drawText(canvas, kBoxFont, text, kBlack,
                   {16 + 32 + 14, kBoxTitleHeight + 18, kBoxTextWidth,
                    layout.okButton.y - kBoxTitleHeight - 18},
                   canvas.bounds());
    drawOkButton(layout.okButton, okPressed, fonts, canvas, ok);
}

}  // namespace orval
