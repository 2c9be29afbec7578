// green, Mr. Green's shop: Mr. Green talks until he has told where Mr. Black hides.
#include "scenes/game.h"

namespace orval::places {
namespace {

// Mr. Green welcomes the agent once, as he comes in.
void MrGreenWelcomesTheAgent(Game& game) {
    game.playSound("přání.wav");
    game.setEnabled("green", "Timer1", false);
}

// Mr. Green (head or legs), still willing: the conversation opens.
void TalkToMrGreen(Game& game) { game.show("Rozmluva"); }

// Mr. Green (head or legs), after he has told: he sends the agent to the bank.
void TalkToMrGreenAfterHeHasTold(Game& game) { game.playSound("go bank.wav"); }

// The discount poster: only a sound, nothing for the case.
void LookAtTheDiscountPoster(Game& game) { game.playSound("sleva.wav"); }

// The framed portrait: only a sound, nothing for the case.
void LookAtThePortrait(Game& game) { game.playSound("zorvina.wav"); }

// The alarm siren: it wails, nothing more.
void SetOffTheAlarm(Game& game) { game.playSound("alarm.wav"); }

// The left edge: back to the map.
void LeaveForTheMap(Game& game) { game.show("Mapa"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerGreen(HandlerRegistry& registry) {
    registry.add("green", "Timer1_Timer", MrGreenWelcomesTheAgent);
    registry.add("green", "Image7_Click", TalkToMrGreen);
    registry.add("green", "Image8_Click", TalkToMrGreen);
    registry.add("green", "Image1_Click", TalkToMrGreenAfterHeHasTold);
    registry.add("green", "Image2_Click", TalkToMrGreenAfterHeHasTold);
    registry.add("green", "Image3_Click", LookAtTheDiscountPoster);
    registry.add("green", "Image4_Click", LookAtThePortrait);
    registry.add("green", "Image5_Click", SetOffTheAlarm);
    registry.add("green", "Image6_Click", LeaveForTheMap);
    registry.add("green", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
