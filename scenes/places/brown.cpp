// Brown, Mr. Brown's room: he points to the box of documents, which open Mr. Green's shop.
#include "scenes/game.h"

namespace orval::places {
namespace {

// Mr. Brown greets the agent once, as he comes in.
void MrBrownGreetsTheAgent(Game& game) {
    game.setEnabled("Brown", "Timer1", false);
    game.playSound("průser.wav");
}

// Mr. Brown (head): he tells about the documents in the box.
void TalkToMrBrownsHead(Game& game) {
    game.setEnabled("Brown", "Image5", true);
    game.setEnabled("Brown", "Image6", false);
    game.playSound("dokumenty.wav");
}

// Mr. Brown (lower body): the same story.
void TalkToMrBrownsLowerBody(Game& game) {
    game.setEnabled("Brown", "Image5", true);
    game.setEnabled("Brown", "Image7", false);
    game.playSound("dokumenty.wav");
}

// The box: the documents of the case; Mr. Green's shop opens on the map.
void ReadTheDocuments(Game& game) {
    game.messageBox("documents");
    game.setEnabled("Mapa", "Image3", true);
    game.setEnabled("Brown", "Image5", false);
    game.setEnabled("Brown", "Image6", false);
    game.setEnabled("Brown", "Image7", false);
}

// Mr. Brown has nothing more to give.
void TalkToMrBrownAgain(Game& game) { game.playSound("nemám.wav"); }

// The left edge: back to the map.
void LeaveForTheMap(Game& game) { game.show("Mapa"); }

// The right edge: on to the warehouse.
void GoToTheWarehouse(Game& game) { game.show("Sklad"); }

// "X": the program ends at once, wherever the agent is.
void QuitTheGame(Game& game) { game.end(); }

}  // namespace

void registerBrown(HandlerRegistry& registry) {
    registry.add("Brown", "Timer1_Timer", MrBrownGreetsTheAgent);
    registry.add("Brown", "Image6_Click", TalkToMrBrownsHead);
    registry.add("Brown", "Image7_Click", TalkToMrBrownsLowerBody);
    registry.add("Brown", "Image5_Click", ReadTheDocuments);
    registry.add("Brown", "Image1_Click", TalkToMrBrownAgain);
    registry.add("Brown", "Image2_Click", TalkToMrBrownAgain);
    registry.add("Brown", "Image3_Click", LeaveForTheMap);
    registry.add("Brown", "Image4_Click", GoToTheWarehouse);
    registry.add("Brown", "Label1_Click", QuitTheGame);
}

}  // namespace orval::places
