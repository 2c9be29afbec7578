// Banka, the bank: the clerk refuses at first, and after the second call gives Mr. Black away.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The clerk's refusal sends the agent to the telephone directory at home.
void AskTheClerk(Game& game) {
    game.playSound("no money.wav");
    game.setEnabled("doma", "Image2", true);
}

// The clerk's second answer: where Mr. Black lives; the villa opens on the map.
void AskTheClerkAfterTheCall(Game& game) {
    game.playSound("black.wav");
    game.setEnabled("Mapa", "Image5", true);
}

// The left edge: back to the map.
void LeaveForTheMap(Game& game) { game.show("Mapa"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerBanka(HandlerRegistry& registry) {
    registry.add("Banka", "Image3_Click", AskTheClerk);
    registry.add("Banka", "Image1_Click", AskTheClerkAfterTheCall);
    registry.add("Banka", "Image2_Click", LeaveForTheMap);
    registry.add("Banka", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
