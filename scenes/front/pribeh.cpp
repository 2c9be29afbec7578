// Příběh, the briefing: its one button starts play.
#include "scenes/game.h"

namespace orval::front {
namespace {

// "Začít hru": the home opens with the inventory in front of it, then the briefing closes for good.
void StartPlaying(Game& game) {
    game.show("doma");
    game.show("Inventář");
    game.unload("Příběh");
}

}  // namespace

void registerPribeh(HandlerRegistry& registry) {
    registry.add("Příběh", "Command1_Click", StartPlaying);
}

}  // namespace orval::front
