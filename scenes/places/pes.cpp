// pes, the guard dog: its growl calls for the meat; once fed it lets the agent through the door.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The dog growls: the meat in the inventory can now be used on it.
void Image1_Click(Game& game) {
    game.setEnabled("Inventář", "Image3", true);
    game.playSound("zvuky/vrčení.wav");
}

// The door, open once the dog is eating: on to Mr. Black.
void Image2_Click(Game& game) { game.show("black"); }

// The bowl.
void Image3_Click(Game& game) { game.playSound("zvuky/blek.wav"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerPes(HandlerRegistry& registry) {
    registry.add("pes", "Image1_Click", Image1_Click);
    registry.add("pes", "Image2_Click", Image2_Click);
    registry.add("pes", "Image3_Click", Image3_Click);
    registry.add("pes", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
