#include "scenes/model/text.h"

#include <cmath>

#include <SDL_ttf.h>

namespace orval {
namespace {

std::string styleKey(bool bold, bool italic) {
    return bold && italic ? "Bold Italic" : bold ? "Bold" : italic ? "Italic" : "Regular";
}

// Length in bytes of the UTF-8 sequence that starts with this byte.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

// Splits a word too wide for any line into pieces that fit, between whole letters.
void splitLongWord(std::string_view word, int width,
                   const std::function<int(std::string_view)>& measure,
                   std::vector<std::string>& lines) {
    std::string piece;
    for (std::size_t i = 0; i < word.size();) {
        const std::size_t n =
            std::min(sequenceLength(static_cast<unsigned char>(word[i])), word.size() - i);
        const std::string longer = piece + std::string(word.substr(i, n));
        if (!piece.empty() && measure(longer) > width) {
            lines.push_back(piece);
            piece = std::string(word.substr(i, n));
        } else {
            piece = longer;
        }
        i += n;
    }
    if (!piece.empty()) lines.push_back(piece);
}

void layoutParagraph(std::string_view paragraph, int width,
                     const std::function<int(std::string_view)>& measure,
                     std::vector<std::string>& lines) {
    const std::size_t linesBefore = lines.size();
    std::size_t pos = 0;
    std::string line;
    while (pos < paragraph.size() && paragraph[pos] == ' ') ++pos;
    line.assign(paragraph.substr(0, pos));  // leading spaces indent the first line
    bool lineHasWord = false;
    while (pos < paragraph.size()) {
        std::size_t end = paragraph.find(' ', pos);
        if (end == std::string_view::npos) end = paragraph.size();
        const std::string_view word = paragraph.substr(pos, end - pos);
        pos = end;
        while (pos < paragraph.size() && paragraph[pos] == ' ') ++pos;
        if (word.empty()) continue;
        const std::string candidate =
            lineHasWord ? line + " " + std::string(word) : line + std::string(word);
        if (measure(candidate) <= width) {
            line = candidate;
            lineHasWord = true;
            continue;
        }
        if (lineHasWord) lines.push_back(line);
        line.clear();
        lineHasWord = false;
        if (measure(word) <= width) {
            line = std::string(word);
            lineHasWord = true;
        } else {
            // The last piece of a split word starts the line the next words continue.
            splitLongWord(word, width, measure, lines);
            line = lines.back();
            lines.pop_back();
            lineHasWord = true;
        }
    }
    // An empty paragraph still takes a line of its own.
    if (lineHasWord || !line.empty() || lines.size() == linesBefore) lines.push_back(line);
}

}  // namespace

int pixelSize(double points) { return static_cast<int>(std::lround(points * 13.0 / 12.0)); }

std::vector<std::string> layoutText(std::string_view caption, int width,
                                    const std::function<int(std::string_view)>& measure) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = caption.find('\n', start);
        layoutParagraph(caption.substr(start, end == std::string_view::npos ? end : end - start),
                        width, measure, lines);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

void Fonts::Closer::operator()(TTF_Font* font) const { TTF_CloseFont(font); }

Fonts::~Fonts() {
    open_.clear();
    if (started_) TTF_Quit();
}

void Fonts::prepare() {
    if (!files_.empty()) return;
    // TTF_Init counts its callers; the destructor's TTF_Quit balances this one.
    if (!started_) {
        if (TTF_Init() != 0)
            throw AssetError(std::string("the font renderer cannot start: ") + TTF_GetError());
        started_ = true;
    }
    FontFiles found = lookup_();
    for (const bool bold : {false, true})
        for (const bool italic : {false, true})
            if (!found.byStyle.contains(styleKey(bold, italic)))
                throw AssetError(found.missingAdvice);
    files_ = std::move(found.byStyle);
}

const std::string& Fonts::fileFor(bool bold, bool italic) {
    prepare();
    return files_.at(styleKey(bold, italic));
}

TTF_Font* Fonts::open(const Font& font, int scale) {
    const auto key = std::make_tuple(pixelSize(font.points) * scale, font.bold, font.italic);
    if (const auto it = open_.find(key); it != open_.end()) return it->second.get();
    const std::string& file = fileFor(font.bold, font.italic);
    TTF_Font* opened = TTF_OpenFont(file.c_str(), std::get<0>(key));
    if (!opened) throw AssetError(file + ": cannot be opened: " + TTF_GetError());
    open_.emplace(key, std::unique_ptr<TTF_Font, Closer>(opened));
    return opened;
}

int Fonts::measure(const Font& font, std::string_view text) {
    if (text.empty()) return 0;
    int width = 0;
    int height = 0;
    const std::string copy(text);
    TTF_SizeUTF8(open(font), copy.c_str(), &width, &height);
    return width;
}

int Fonts::lineHeight(const Font& font) { return TTF_FontLineSkip(open(font)); }

void Fonts::drawLine(Canvas& canvas, const Font& font, std::string_view line, Colour colour, int x,
                     int y, const Rect& clip) {
    if (line.find_first_not_of(' ') == std::string_view::npos) return;
    const std::string copy(line);
    SurfacePtr rendered(TTF_RenderUTF8_Blended(open(font, canvas.scale()), copy.c_str(),
                                               SDL_Color{colour.r, colour.g, colour.b, 255}));
    if (!rendered) return;
    canvas.draw(rendered.get(), x, y, clip);
}

void Fonts::drawText(Canvas& canvas, const Font& font, std::string_view caption, Colour colour,
                     const Rect& area, const Rect& clip) {
    const auto measureLine = [&](std::string_view s) { return measure(font, s); };
    const int step = lineHeight(font);
    const Rect inside{std::max(area.x, clip.x), std::max(area.y, clip.y),
                      std::min(area.x + area.w, clip.x + clip.w) - std::max(area.x, clip.x),
                      std::min(area.y + area.h, clip.y + clip.h) - std::max(area.y, clip.y)};
    int y = area.y;
    for (const std::string& line : layoutText(caption, area.w, measureLine)) {
        if (y >= area.y + area.h) break;
        drawLine(canvas, font, line, colour, area.x, y, inside);
        y += step;
    }
}

}  // namespace orval
