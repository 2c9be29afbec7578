// green, Mr. Green's shop: Mr. Green talks until he has told where Mr. Black hides.
#include "scenes/game.h"

namespace orval::places {
namespace {

// Mr. Green welcomes the agent once, as he comes in.
void Timer1_Timer(Game& game) {
    game.playSound("zvuky/přání.wav");
    game.setEnabled("green", "Timer1", false);
}

// Mr. Green (head or legs), still willing: the conversation opens.
void TalkToGreen(Game& game) { game.show("Rozmluva"); }

// Mr. Green (head or legs), after he has told: he sends the agent to the bank.
void GoToBank(Game& game) { game.playSound("zvuky/go bank.wav"); }

// The discount poster.
void Image3_Click(Game& game) { game.playSound("zvuky/sleva.wav"); }

// The framed portrait.
void Image4_Click(Game& game) { game.playSound("zvuky/zorvina.wav"); }

// The alarm siren.
void Image5_Click(Game& game) { game.playSound("zvuky/alarm.wav"); }

// The left edge: back to the map.
void Image6_Click(Game& game) { game.show("Mapa"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerGreen(HandlerRegistry& registry) {
    registry.add("green", "Timer1_Timer", Timer1_Timer);
    registry.add("green", "Image7_Click", TalkToGreen);
    registry.add("green", "Image8_Click", TalkToGreen);
    registry.add("green", "Image1_Click", GoToBank);
    registry.add("green", "Image2_Click", GoToBank);
    registry.add("green", "Image3_Click", Image3_Click);
    registry.add("green", "Image4_Click", Image4_Click);
    registry.add("green", "Image5_Click", Image5_Click);
    registry.add("green", "Image6_Click", Image6_Click);
    registry.add("green", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
