#include "scenes/model/canvas.h"

#include <algorithm>

#include <SDL_image.h>

namespace orval {
Canvas::Canvas(int width, int height)
    : owned_(SDL_CreateRGBSurfaceWithFormat(0, std::max(1, width), std::max(1, height), 32,
                                            SDL_PIXELFORMAT_XRGB8888)),
      surface_(owned_.get()) {
    if (!surface_)
        throw AssetError(std::string("cannot create a drawing surface: ") + SDL_GetError());
}

Canvas::Canvas(SDL_Surface* borrowed) : surface_(borrowed) {}

void Canvas::fill(const Rect& area, Colour colour, const Rect& clip) {
    const Rect r = intersect(intersect(area, clip), bounds());
    if (r.w <= 0 || r.h <= 0) return;
    SDL_Rect sdl{r.x, r.y, r.w, r.h};
    SDL_FillRect(surface_, &sdl, SDL_MapRGB(surface_->format, colour.r, colour.g, colour.b));
}

void Canvas::draw(SDL_Surface* picture, int x, int y, const Rect& clip) {
    const Rect r = intersect(intersect({x, y, picture->w, picture->h}, clip), bounds());
    if (r.w <= 0 || r.h <= 0) return;
    SDL_Rect source{r.x - x, r.y - y, r.w, r.h};
    SDL_Rect target{r.x, r.y, r.w, r.h};
    SDL_BlitSurface(picture, &source, surface_, &target);
}

void Canvas::outline(const Rect& area, Colour colour, const Rect& clip) {
    fill({area.x, area.y, area.w, 1}, colour, clip);
    fill({area.x, area.y + area.h - 1, area.w, 1}, colour, clip);
    fill({area.x, area.y, 1, area.h}, colour, clip);
    fill({area.x + area.w - 1, area.y, 1, area.h}, colour, clip);
}

Colour Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return {};
    const auto* row = static_cast<const std::uint8_t*>(surface_->pixels) + y * surface_->pitch;
    const std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
    Colour c;
    SDL_GetRGB(value, surface_->format, &c.r, &c.g, &c.b);
    return c;
}

void Canvas::savePng(const std::filesystem::path& file) const {
    if (IMG_SavePNG(surface_, file.string().c_str()) != 0)
        throw AssetError(file.string() + ": cannot be written: " + IMG_GetError());
}

}  // namespace orval
