// Vila, Mr. Black's villa at night: the car takes the listening device, the door leads inside.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The door, open after the night in the car: in to the dog.
void EnterTheVilla(Game& game) { game.show("pes"); }

// The car (either hotspot): the listening device in the inventory can be planted.
void PlantListeningDevice(Game& game) {
    game.setEnabled("Inventář", "Image2", true);
    game.playSound("auto.wav");
}

// The lit window with the spider web: only a sound, nothing for the case.
void LookAtTheLitWindow(Game& game) { game.playSound("okno vily.wav"); }

// The tree (either hotspot): only a sound, nothing for the case.
void LookAtTheTree(Game& game) { game.playSound("matoni.wav"); }

// The left edge: back to the map.
void LeaveForTheMap(Game& game) { game.show("Mapa"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerVila(HandlerRegistry& registry) {
    registry.add("Vila", "Image1_Click", EnterTheVilla);
    registry.add("Vila", "Image2_Click", PlantListeningDevice);
    registry.add("Vila", "Image3_Click", PlantListeningDevice);
    registry.add("Vila", "Image4_Click", LookAtTheLitWindow);
    registry.add("Vila", "Image5_Click", LookAtTheTree);
    registry.add("Vila", "Image6_Click", LookAtTheTree);
    registry.add("Vila", "Image7_Click", LeaveForTheMap);
    registry.add("Vila", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
