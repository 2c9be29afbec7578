// win, the final screen: it closes the scenes of play and offers the credits or the end.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The case is closed: every scene of play goes, so the final screen stands alone.
void FinalScreenOpens(Game& game) {
    game.unload("Inventář");
    game.unload("Vila");
    game.unload("doma");
    game.unload("Banka");
    game.unload("black");
    game.unload("Brown");
    game.unload("green");
    game.unload("Mapa");
    game.unload("pes");
    game.unload("Rozmluva");
    game.unload("Sklad");
    game.unload("velitelství");
}

// "O hře": the credits replace the final screen; closing them ends the program.
void ShowCredits(Game& game) {
    game.show("about");
    game.unload("win");
}

// "Konec": the case is over; the final screen, the last window, closes and the program ends
// as after the credits, a game won rather than one left.
void QuitTheGame(Game& game) { game.unload("win"); }

}  // namespace

void registerWin(HandlerRegistry& registry) {
    registry.add("win", "Form_Load", FinalScreenOpens);
    registry.add("win", "Image1_Click", ShowCredits);
    registry.add("win", "Image2_Click", QuitTheGame);
}

}  // namespace orval::front
