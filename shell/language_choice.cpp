#include "shell/language_choice.h"

namespace orval {
namespace {

constexpr std::string_view kEnglish = "en";

bool has(const std::vector<std::string>& languages, std::string_view code) {
    return unknownLanguage(code, languages).empty();
}

// The language of a system's locale name: "en" of "en_GB.UTF-8", "en-GB" or "EN"; empty for
// the C locale, which names none.
std::string languageOf(std::string_view locale) {
    const std::string_view code = locale.substr(0, locale.find_first_of("_-.@"));
    if (code == "C" || code == "POSIX") return {};
    std::string lower(code);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

std::string chooseLanguage(const LanguageWishes& wishes,
                           const std::vector<std::string>& languages) {
    if (wishes.asked && has(languages, *wishes.asked)) return *wishes.asked;
    if (wishes.remembered && has(languages, *wishes.remembered)) return *wishes.remembered;
    bool anyPreference = false;
    for (const std::string& locale : wishes.preferred) {
        const std::string code = languageOf(locale);
        if (code.empty()) continue;
        if (has(languages, code)) return code;
        anyPreference = true;
    }
    if (anyPreference && has(languages, kEnglish)) return std::string(kEnglish);
    return languages.front();
}

}  // namespace orval
