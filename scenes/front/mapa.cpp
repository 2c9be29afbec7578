// Mapa, the town map: each open place takes the agent there; the map stays open behind it.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The headquarters, where the agent gets his destinations.
void GoToTheHeadquarters(Game& game) { game.show("velitelství"); }

// Home, where the telephone and the directory are.
void GoHome(Game& game) { game.show("doma"); }

// Mr. Green's shop, open once Mr. Brown's documents have been read.
void GoToMrGreensShop(Game& game) { game.show("green"); }

// The bank, open once Mr. Green has been asked about Mr. Black.
void GoToTheBank(Game& game) { game.show("Banka"); }

// Mr. Black's villa, open once the clerk has given away the address.
void GoToMrBlacksVilla(Game& game) { game.show("Vila"); }

}  // namespace

void registerMapa(HandlerRegistry& registry) {
    registry.add("Mapa", "Image1_Click", GoToTheHeadquarters);
    registry.add("Mapa", "Image2_Click", GoHome);
    registry.add("Mapa", "Image3_Click", GoToMrGreensShop);
    registry.add("Mapa", "Image4_Click", GoToTheBank);
    registry.add("Mapa", "Image5_Click", GoToMrBlacksVilla);
}

}  // namespace orval::front
