// doma, the agent's home: the telephone, the door to the map, the directory and the television.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The telephone rings once, just after the agent comes home.
void Timer1_Timer(Game& game) {
    game.playSound("zvuky/telefon.wav");
    game.setEnabled("doma", "Timer1", false);
}

// The first call: the assignment; now the agent may leave.
void Image4_Click(Game& game) {
    game.playSound("zvuky/hlasatelka.wav");
    game.setEnabled("doma", "Image3", true);
    game.setEnabled("doma", "Image4", false);
}

// The door: out into town.
void Image3_Click(Game& game) { game.show("Mapa"); }

// The directory: the agent finds the number for a second call.
void Image2_Click(Game& game) {
    game.setEnabled("doma", "Image1", true);
    game.setEnabled("doma", "Image2", false);
    game.playSound("zvuky/seznam.wav");
}

// The second call: the bank clerk is made to talk next time.
void Image1_Click(Game& game) {
    game.setEnabled("Banka", "Image3", false);
    game.setEnabled("Banka", "Image1", true);
    game.setEnabled("doma", "Image1", false);
    game.playSound("zvuky/tunelbanka.wav");
}

// The television, just for fun.
void Image5_Click(Game& game) { game.playSound("zvuky/televize.wav"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerDoma(HandlerRegistry& registry) {
    registry.add("doma", "Timer1_Timer", Timer1_Timer);
    registry.add("doma", "Image4_Click", Image4_Click);
    registry.add("doma", "Image3_Click", Image3_Click);
    registry.add("doma", "Image2_Click", Image2_Click);
    registry.add("doma", "Image1_Click", Image1_Click);
    registry.add("doma", "Image5_Click", Image5_Click);
    registry.add("doma", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
