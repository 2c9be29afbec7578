// black, Mr. Black's hideout: the meeting that leads to the evidence and the arrest.
#include "scenes/game.h"

namespace orval::places {
namespace {

// Mr. Black notices the agent as he comes in, once.
void Timer1_Timer(Game& game) {
    game.playSound("zvuky/setkání.wav");
    game.setEnabled("black", "Timer1", false);
}

// Mr. Black greets the agent: time to play him the cassette.
void Image2_Click(Game& game) {
    game.setEnabled("Inventář", "Image5", true);
    game.playSound("zvuky/pozdrav.wav");
}

// After the evidence Mr. Black has nothing to say: the pistol is ready.
void Image1_Click(Game& game) { game.setEnabled("Inventář", "Image1", true); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerBlack(HandlerRegistry& registry) {
    registry.add("black", "Timer1_Timer", Timer1_Timer);
    registry.add("black", "Image2_Click", Image2_Click);
    registry.add("black", "Image1_Click", Image1_Click);
    registry.add("black", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
