// Mapa, the town map: each open place takes the agent there; the map stays open behind it.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The headquarters, where the agent gets his destinations.
void Image1_Click(Game& game) { game.show("velitelství"); }

// Back home.
void Image2_Click(Game& game) { game.show("doma"); }

// Mr. Green's shop, open once Mr. Brown's documents have been read.
void Image3_Click(Game& game) { game.show("green"); }

// The bank, open once Mr. Green has been asked about Mr. Black.
void Image4_Click(Game& game) { game.show("Banka"); }

// Mr. Black's villa, open once the clerk has given away the address.
void Image5_Click(Game& game) { game.show("Vila"); }

}  // namespace

void registerMapa(HandlerRegistry& registry) {
    registry.add("Mapa", "Image1_Click", Image1_Click);
    registry.add("Mapa", "Image2_Click", Image2_Click);
    registry.add("Mapa", "Image3_Click", Image3_Click);
    registry.add("Mapa", "Image4_Click", Image4_Click);
    registry.add("Mapa", "Image5_Click", Image5_Click);
}

}  // namespace orval::front
