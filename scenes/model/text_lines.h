// The lines of a data file one by one, numbered for its error messages, each without its "\n"
// or "\r\n"; shared by the readers of the captions, the catalogues and the settings.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

namespace orval {

class TextLines {
  public:
    explicit TextLines(std::string_view text) : text_(text) {}

    // The next line, or nothing past the last.
    std::optional<std::string_view> next() {
        if (at_ >= text_.size()) return std::nullopt;
        const std::size_t end = std::min(text_.find('\n', at_), text_.size());
        std::string_view line = text_.substr(at_, end - at_);
        at_ = end + 1;
        ++number_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }
    // The number of the line last given, from 1.
    int number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
    int number_ = 0;
};

}  // namespace orval
