// pes, the guard dog: its growl calls for the meat; once fed it lets the agent through the door.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The dog growls: the meat in the inventory can now be used on it.
void ApproachTheDog(Game& game) {
    game.setEnabled("Inventář", "Image3", true);
    game.playSound("vrčení.wav");
}

// The door, open once the dog is eating: on to Mr. Black.
void GoThroughToMrBlack(Game& game) { game.show("black"); }

// The dog's bowl: only a sound, nothing for the case.
void LookAtTheBowl(Game& game) { game.playSound("blek.wav"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerPes(HandlerRegistry& registry) {
    registry.add("pes", "Image1_Click", ApproachTheDog);
    registry.add("pes", "Image2_Click", GoThroughToMrBlack);
    registry.add("pes", "Image3_Click", LookAtTheBowl);
    registry.add("pes", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
