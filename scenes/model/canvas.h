// Plain pixel surfaces the game draws into. They need no display: the same code draws into a
// window's own pixels, a test's canvas and a snapshot.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <SDL_surface.h>

#include "scenes/model/geometry.h"

namespace orval {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A picture or sound file that exists but cannot be used.
class AssetError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An RGB drawing surface of fixed size.
class Canvas {
  public:
    // A surface of its own, filled with black.
    Canvas(int width, int height);
    // Draws into pixels someone else owns (a window's own surface), which outlive the canvas.
    explicit Canvas(SDL_Surface* borrowed);

    int width() const { return surface_->w; }
    int height() const { return surface_->h; }
    SDL_Surface* surface() const { return surface_; }

    // Fills the part of `area` inside `clip`.
    void fill(const Rect& area, Colour colour, const Rect& clip);
    // Draws `picture` unscaled with its upper-left corner at (x, y), clipped to `clip`.
    void draw(SDL_Surface* picture, int x, int y, const Rect& clip);
    // A one-pixel outline along the inside of `area`.
    void outline(const Rect& area, Colour colour, const Rect& clip);
    Colour pixel(int x, int y) const;
    // Writes the canvas as a PNG file; throws AssetError when it cannot.
    void savePng(const std::filesystem::path& file) const;

    Rect bounds() const { return {0, 0, width(), height()}; }

  private:
    SurfacePtr owned_;
    SDL_Surface* surface_;
};

}  // namespace orval
