#include "scenes/model/text.h"

#include <cmath>
#include <limits>

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

// Lays out one paragraph into `lines`, the first line led by `lead` as if the paragraph began
// with it, until `most` lines are full; returns where in the paragraph the words of the next
// line start (its size when all of it was laid out). Only what those lines need is measured.
std::size_t layoutParagraph(std::string_view lead, std::string_view paragraph, int width,
                            const std::function<int(std::string_view)>& measure,
                            std::vector<std::string>& lines, std::size_t most) {
    const std::size_t linesBefore = lines.size();
    std::size_t pos = 0;
    while (pos < paragraph.size() && paragraph[pos] == ' ') ++pos;
    // Leading spaces indent the first line, unless a lead stands before them.
    std::string line(lead.empty() ? paragraph.substr(0, pos) : lead);
    bool lineHasWord = !lead.empty();
    // Ends the line; false once `most` lines are full.
    const auto endLine = [&] {
        lines.push_back(std::move(line));
        line.clear();
        lineHasWord = false;
        return lines.size() - linesBefore < most;
    };
    while (pos < paragraph.size()) {
        const std::size_t start = pos;
        std::size_t end = paragraph.find(' ', pos);
        if (end == std::string_view::npos) end = paragraph.size();
        const std::string_view word = paragraph.substr(pos, end - pos);
        pos = end;
        while (pos < paragraph.size() && paragraph[pos] == ' ') ++pos;
        std::string candidate = lineHasWord ? line + " " : line;
        candidate += word;
        if (measure(candidate) <= width) {
            line = std::move(candidate);
            lineHasWord = true;
            continue;
        }
        if (lineHasWord && !endLine()) return start;
        line.clear();
        lineHasWord = true;
        if (measure(word) <= width) {
            line = std::string(word);
            continue;
        }
        // A word wider than any line is split between whole letters; its last piece starts
        // the line the next words continue.
        for (std::size_t i = 0; i < word.size();) {
            const std::size_t n =
                std::min(sequenceLength(static_cast<unsigned char>(word[i])), word.size() - i);
            const std::string longer = line + std::string(word.substr(i, n));
            if (!line.empty() && measure(longer) > width) {
                if (!endLine()) return start + i;
                line = std::string(word.substr(i, n));
                lineHasWord = true;
            } else {
                line = longer;
            }
            i += n;
        }
    }
    // An empty paragraph still takes a line of its own.
    if (lineHasWord || !line.empty() || lines.size() == linesBefore) lines.push_back(line);
    return paragraph.size();
}

}  // namespace

int pixelSize(double points) { return static_cast<int>(std::lround(points * 13.0 / 12.0)); }

std::vector<std::string> layoutText(std::string_view caption, int width,
                                    const std::function<int(std::string_view)>& measure) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = caption.find('\n', start);
        layoutParagraph("",
                        caption.substr(start, end == std::string_view::npos ? end : end - start),
                        width, measure, lines, std::numeric_limits<std::size_t>::max());
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

FirstLines layoutFirstLines(std::string_view lead, std::string_view text, std::size_t most,
                            int width, const std::function<int(std::string_view)>& measure) {
    FirstLines first;
    first.rest = layoutParagraph(lead, text, width, measure, first.lines, most);
    return first;
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
