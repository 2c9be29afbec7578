// black, Mr. Black's hideout: the meeting that leads to the evidence and the arrest.
#include "scenes/game.h"

namespace orval::places {
namespace {

// Mr. Black notices the agent as he comes in, once.
void MrBlackNoticesTheAgent(Game& game) {
    game.playSound("setkání.wav");
    game.setEnabled("black", "Timer1", false);
}

// Mr. Black greets the agent: time to play him the cassette.
void TalkToMrBlack(Game& game) {
    game.setEnabled("Inventář", "Image5", true);
    game.playSound("pozdrav.wav");
}

// After the evidence Mr. Black has nothing to say: the pistol is ready.
void TalkToMrBlackAfterTheEvidence(Game& game) { game.setEnabled("Inventář", "Image1", true); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerBlack(HandlerRegistry& registry) {
    registry.add("black", "Timer1_Timer", MrBlackNoticesTheAgent);
    registry.add("black", "Image2_Click", TalkToMrBlack);
    registry.add("black", "Image1_Click", TalkToMrBlackAfterTheEvidence);
    registry.add("black", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
