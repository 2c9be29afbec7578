// The face as fontconfig finds it: Linux and the other systems with a font configuration.
#include <memory>
#include <string>

#include <fontconfig/fontconfig.h>

#include "shell/platform/font_files.h"

namespace orval {
namespace {

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The file of a sans-serif face with Czech letters in this style, or empty.
std::string findFace(FcConfig* config, const std::string& style) {
    const std::string name = "Liberation Sans:style=" + style + ":lang=cs";
    const PatternPtr wanted(FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str())));
    if (!wanted) return {};
    FcConfigSubstitute(config, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const PatternPtr match(FcFontMatch(config, wanted.get(), &result));
    FcChar8* path = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &path) != FcResultMatch || !path)
        return {};
    return reinterpret_cast<const char*>(path);
}

}  // namespace

FontFiles systemFontFiles() {
    FontFiles files;
    files.missingAdvice = "no sans-serif font with Czech letters found (install fonts-liberation2)";
    // Reading fontconfig's configuration and caches is the costly part: once for all styles.
    const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    if (!config) return files;
    for (const char* style : {"Regular", "Bold", "Italic", "Bold Italic"})
        if (std::string file = findFace(config.get(), style); !file.empty())
            files.byStyle[style] = std::move(file);
    return files;
}

}  // namespace orval
