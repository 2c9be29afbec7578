// about, the credits: OK closes the window, the maker's logo and address open the web page.
#include <string_view>

#include "scenes/game.h"

namespace orval::front {
namespace {

// The maker's web address; the same text is the caption of the address label.
constexpr std::string_view kMakerAddress = "orval-kesk.example.org";

// OK: the credits close; after the final screen nothing is left and the program ends.
void CloseTheCredits(Game& game) { game.unload("about"); }

// The address or the logo: the maker's page opens in the browser.
void OpenMakerPage(Game& game) { game.openLink(kMakerAddress); }

}  // namespace

void registerAbout(HandlerRegistry& registry) {
    registry.add("about", "Image1_Click", CloseTheCredits);
    registry.add("about", "Label1_Click", OpenMakerPage);
    registry.add("about", "Picture1_Click", OpenMakerPage);
}

}  // namespace orval::front
