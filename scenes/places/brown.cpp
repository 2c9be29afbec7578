// Brown, Mr. Brown's room: he points to the box of documents, which open Mr. Green's shop.
#include "scenes/game.h"

namespace orval::places {
namespace {

constexpr const char* kDocuments =
    "Včera byl vykraden obchod Mr. Greena, je jisté, že to byl Mr.Black. Mr. Green ho, ale "
    "sledoval a zjistil kde se teď skrývá. Dostaň z Greena kde se Black skrývá.";

// Mr. Brown greets the agent once, as he comes in.
void Timer1_Timer(Game& game) {
    game.setEnabled("Brown", "Timer1", false);
    game.playSound("zvuky/průser.wav");
}

// Mr. Brown (head): he tells about the documents in the box.
void Image6_Click(Game& game) {
    game.setEnabled("Brown", "Image5", true);
    game.setEnabled("Brown", "Image6", false);
    game.playSound("zvuky/dokumenty.wav");
}

// Mr. Brown (lower body): the same story.
void Image7_Click(Game& game) {
    game.setEnabled("Brown", "Image5", true);
    game.setEnabled("Brown", "Image7", false);
    game.playSound("zvuky/dokumenty.wav");
}

// The box: the documents of the case; Mr. Green's shop opens on the map.
void Image5_Click(Game& game) {
    game.messageBox(kDocuments, "DOKUMENTY");
    game.setEnabled("Mapa", "Image3", true);
    game.setEnabled("Brown", "Image5", false);
    game.setEnabled("Brown", "Image6", false);
    game.setEnabled("Brown", "Image7", false);
}

// Mr. Brown has nothing more to give.
void NothingMore(Game& game) { game.playSound("zvuky/nemám.wav"); }

// The left edge: back to the map.
void Image3_Click(Game& game) { game.show("Mapa"); }

// The right edge: on to the warehouse.
void Image4_Click(Game& game) { game.show("Sklad"); }

// "X": quit the game.
void Label1_Click(Game& game) { game.end(); }

}  // namespace

void registerBrown(HandlerRegistry& registry) {
    registry.add("Brown", "Timer1_Timer", Timer1_Timer);
    registry.add("Brown", "Image6_Click", Image6_Click);
    registry.add("Brown", "Image7_Click", Image7_Click);
    registry.add("Brown", "Image5_Click", Image5_Click);
    registry.add("Brown", "Image1_Click", NothingMore);
    registry.add("Brown", "Image2_Click", NothingMore);
    registry.add("Brown", "Image3_Click", Image3_Click);
    registry.add("Brown", "Image4_Click", Image4_Click);
    registry.add("Brown", "Label1_Click", Label1_Click);
}

}  // namespace orval::places
