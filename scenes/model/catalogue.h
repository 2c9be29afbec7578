// A translation catalogue in the translators' own format (a gettext PO file): for each Czech
// text under a context, the text in another language.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orval {

struct CatalogueEntry {
    std::string context;  // msgctxt: where the text is, "scene Mapa: Label1"
    std::string czech;    // msgid
    std::string translation;
    int line = 0;  // of its msgid, for the tests' messages
};

class Catalogue {
  public:
    // Parses a PO file: comments, msgctxt, msgid and msgstr with their continued strings. Plural
    // forms, an entry without msgid or msgstr, a bad escape or the same context and text twice
    // throw DataFileError naming `fileName` and the line. An entry marked fuzzy or left empty
    // is not a translation (the Czech text stays), as gettext has it.
    static Catalogue parse(std::string_view text, const std::string& fileName);
    // Reads the file (at most 1 MB) and parses it as above.
    static Catalogue load(const std::filesystem::path& file);

    // The translation of `czech` under `context`, or nullptr.
    const std::string* find(std::string_view context, std::string_view czech) const;
    // The translated entries in the order of the file (the header not among them).
    const std::vector<CatalogueEntry>& entries() const { return entries_; }
    // The header's "Language:", empty without one.
    const std::string& language() const { return language_; }

  private:
    std::vector<CatalogueEntry> entries_;
    std::map<std::string, std::size_t, std::less<>> index_;  // by context and text
    std::string language_;
};

}  // namespace orval
