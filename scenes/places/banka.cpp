// Banka, the bank: the clerk refuses at first, and after the second call gives Mr. Black away.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The clerk's refusal sends the agent to the telephone directory at home.
void Image3_Click(Game& game) {
    game.playSound("zvuky/no money.wav");
    game.setEnabled("doma", "Image2", true);
}

// The clerk's second answer: where Mr. Black lives; the villa opens on the map.
void Image1_Click(Game& game) {
    game.playSound("zvuky/black.wav");
    game.setEnabled("Mapa", "Image5", true);
}

// The left edge: back to the map.
void Image2_Click(Game& game) { game.show("Mapa"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerBanka(HandlerRegistry& registry) {
    registry.add("Banka", "Image3_Click", Image3_Click);
    registry.add("Banka", "Image1_Click", Image1_Click);
    registry.add("Banka", "Image2_Click", Image2_Click);
    registry.add("Banka", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
