// doma, the agent's home: the telephone, the door to the map, the directory and the television.
#include "scenes/game.h"

namespace orval::places {
namespace {

// The telephone rings once, just after the agent comes home.
void TelephoneRings(Game& game) {
    game.playSound("telefon.wav");
    game.setEnabled("doma", "Timer1", false);
}

// The first call: the assignment; now the agent may leave.
void AnswerTelephone(Game& game) {
    game.playSound("hlasatelka.wav");
    game.setEnabled("doma", "Image3", true);
    game.setEnabled("doma", "Image4", false);
}

// The door: out into town.
void LeaveForTheMap(Game& game) { game.show("Mapa"); }

// The directory: the agent finds the number for a second call.
void ReadTheDirectory(Game& game) {
    game.setEnabled("doma", "Image1", true);
    game.setEnabled("doma", "Image2", false);
    game.playSound("seznam.wav");
}

// The second call: the bank clerk is made to talk next time.
void MakeTheSecondCall(Game& game) {
    game.setEnabled("Banka", "Image3", false);
    game.setEnabled("Banka", "Image1", true);
    game.setEnabled("doma", "Image1", false);
    game.playSound("tunelbanka.wav");
}

// The television, just for fun.
void WatchTelevision(Game& game) { game.playSound("televize.wav"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerDoma(HandlerRegistry& registry) {
    registry.add("doma", "Timer1_Timer", TelephoneRings);
    registry.add("doma", "Image4_Click", AnswerTelephone);
    registry.add("doma", "Image3_Click", LeaveForTheMap);
    registry.add("doma", "Image2_Click", ReadTheDirectory);
    registry.add("doma", "Image1_Click", MakeTheSecondCall);
    registry.add("doma", "Image5_Click", WatchTelevision);
    registry.add("doma", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
