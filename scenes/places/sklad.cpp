// Sklad, the warehouse: the crates equip the agent with the pistol and the listening device.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The left edge: back to the map.
void Image1_Click(Game& game) { game.show("Mapa"); }

// The large crate: a pistol goes into the inventory.
void Image2_Click(Game& game) { game.setVisible("Inventář", "Picture2", true); }

// The small crate (either hotspot): a listening device goes into the inventory.
void TakeListeningDevice(Game& game) { game.setVisible("Inventář", "Picture3", true); }

// The kangaroo sign.
void Image5_Click(Game& game) { game.playSound("zvuky/klokani.wav"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerSklad(HandlerRegistry& registry) {
    registry.add("Sklad", "Image1_Click", Image1_Click);
    registry.add("Sklad", "Image2_Click", Image2_Click);
    registry.add("Sklad", "Image3_Click", TakeListeningDevice);
    registry.add("Sklad", "Image4_Click", TakeListeningDevice);
    registry.add("Sklad", "Image5_Click", Image5_Click);
    registry.add("Sklad", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
