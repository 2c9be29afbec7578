// Sklad, the warehouse: the crates equip the agent with the pistol and the listening device.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The left edge: back to the map.
void LeaveForTheMap(Game& game) { game.show("Mapa"); }

// The large crate: a pistol goes into the inventory.
void TakeThePistol(Game& game) { game.setVisible("Inventář", "Picture2", true); }

// The small crate (either hotspot): a listening device goes into the inventory.
void TakeListeningDevice(Game& game) { game.setVisible("Inventář", "Picture3", true); }

// The kangaroo sign: only a sound, nothing for the case.
void LookAtTheKangarooSign(Game& game) { game.playSound("klokani.wav"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerSklad(HandlerRegistry& registry) {
    registry.add("Sklad", "Image1_Click", LeaveForTheMap);
    registry.add("Sklad", "Image2_Click", TakeThePistol);
    registry.add("Sklad", "Image3_Click", TakeListeningDevice);
    registry.add("Sklad", "Image4_Click", TakeListeningDevice);
    registry.add("Sklad", "Image5_Click", LookAtTheKangarooSign);
    registry.add("Sklad", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
