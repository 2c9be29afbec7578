// Label text: the game's typeface (its files found by the platform side), and line layout.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "scenes/model/canvas.h"
#include "scenes/model/description.h"
#include "scenes/model/font_files.h"

typedef struct _TTF_Font TTF_Font;

namespace orval {

// Pixel height of the face for a size in points as the descriptions give it; chosen so that
// every caption fits its label as it was laid out (12 pt is 13 px).
int pixelSize(double points);

// Breaks a caption into lines no wider than `width`: paragraphs at '\n', words at spaces,
// leading spaces kept, a word wider than the line split between letters.
std::vector<std::string> layoutText(std::string_view caption, int width,
                                    const std::function<int(std::string_view)>& measure);

// The first `most` lines of a text without line breaks as layoutText breaks it, the first line
// led by `lead` (a speaker's name, never split), and where in `text` the words of the line
// after them start (its size when nothing is left): a long text costs no more than its pages.
struct FirstLines {
    std::vector<std::string> lines;
    std::size_t rest = 0;
};
FirstLines layoutFirstLines(std::string_view lead, std::string_view text, std::size_t most,
                            int width, const std::function<int(std::string_view)>& measure);

// The sans-serif face in regular, bold and bold italic, opened at the sizes asked for.
class Fonts {
  public:
    // Nothing is looked up yet: a window without text never waits for fonts.
    explicit Fonts(FontLookup lookup) : lookup_(std::move(lookup)) {}
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // Width in logical pixels of a single line of text.
    int measure(const Font& font, std::string_view text);
    int lineHeight(const Font& font);
    // Draws the caption laid out in `area`, clipped to `clip` and to the bottom of `area`.
    // Lines break where they break at 1x, so a label reads the same at every scale.
    void drawText(Canvas& canvas, const Font& font, std::string_view caption, Colour colour,
                  const Rect& area, const Rect& clip);
    // Draws one line with its upper-left corner at (x, y), with the face at the canvas's scale
    // times its size, so that letters are sharp on every screen.
    void drawLine(Canvas& canvas, const Font& font, std::string_view line, Colour colour, int x,
                  int y, const Rect& clip);
    // Finds the faces now, so that the first text drawn waits for none;
    // throws AssetError when no usable face exists. Every other use does it when needed.
    void prepare();

  private:
    TTF_Font* open(const Font& font, int scale = 1);
    // The file the face of this style comes from.
    const std::string& fileFor(bool bold, bool italic);

    struct Closer {
        void operator()(TTF_Font* font) const;
    };
    FontLookup lookup_;
    bool started_ = false;                      // TTF_Init was called
    std::map<std::string, std::string> files_;  // style -> file, once found
    std::map<std::tuple<int, bool, bool>, std::unique_ptr<TTF_Font, Closer>> open_;
};

}  // namespace orval
