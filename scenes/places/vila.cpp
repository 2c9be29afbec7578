// Vila, Mr. Black's villa at night: the car takes the listening device, the door leads inside.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The door, open after the night in the car: in to the dog.
void Image1_Click(Game& game) { game.show("pes"); }

// The car (either hotspot): the listening device in the inventory can be planted.
void PlantListeningDevice(Game& game) {
    game.setEnabled("Inventář", "Image2", true);
    game.playSound("zvuky/auto.wav");
}

// The lit window with the spider web.
void Image4_Click(Game& game) { game.playSound("zvuky/okno vily.wav"); }

// The tree (either hotspot).
void LookAtTree(Game& game) { game.playSound("zvuky/matoni.wav"); }

// The left edge: back to the map.
void Image7_Click(Game& game) { game.show("Mapa"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerVila(HandlerRegistry& registry) {
    registry.add("Vila", "Image1_Click", Image1_Click);
    registry.add("Vila", "Image2_Click", PlantListeningDevice);
    registry.add("Vila", "Image3_Click", PlantListeningDevice);
    registry.add("Vila", "Image4_Click", Image4_Click);
    registry.add("Vila", "Image5_Click", LookAtTree);
    registry.add("Vila", "Image6_Click", LookAtTree);
    registry.add("Vila", "Image7_Click", Image7_Click);
    registry.add("Vila", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
