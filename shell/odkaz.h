// odkaz: opens the maker's web address in the player's browser.
#pragma once

#include <string>
#include <string_view>

#include "shell/platform/platform.h"

namespace orval {

// The address as the opener needs it: the https scheme is added to a bare host name.
std::string linkUrl(std::string_view address);

// Opens the address without waiting for the browser; failures are ignored.
void OpenLink(Platform& platform, std::string_view address) noexcept;

}  // namespace orval
