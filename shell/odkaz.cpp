#include "shell/odkaz.h"

namespace orval {

std::string linkUrl(std::string_view address) {
    if (address.find("://") != std::string_view::npos) return std::string(address);
    return "https://" + std::string(address);
}

void OpenLink(Platform& platform, std::string_view address) noexcept {
    try {
        platform.openUrl(linkUrl(address));
    } catch (...) {
        // No browser, no opener: nothing is shown and the credits stay open.
    }
}

}  // namespace orval
