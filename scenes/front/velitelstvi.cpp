// velitelství, the headquarters: two destinations; the window closes behind the chosen one.
#include "scenes/game.h"

namespace orval::front {
namespace {

// "K Brownovi": off to Mr. Brown; the next visit to the headquarters starts afresh.
void GoToMrBrown(Game& game) {
    game.show("Brown");
    game.unload("velitelství");
}

// "Do skladu": off to the warehouse to pick up equipment.
void GoToTheWarehouse(Game& game) {
    game.show("Sklad");
    game.unload("velitelství");
}

}  // namespace

void registerVelitelstvi(HandlerRegistry& registry) {
    registry.add("velitelství", "Label2_Click", GoToMrBrown);
    registry.add("velitelství", "Label3_Click", GoToTheWarehouse);
}

}  // namespace orval::front
