// ORVAL, the main menu: hover highlighting of the three entries and their actions.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The pointer on the background ends every highlight.
void Form_MouseMove(Game& game) {
    game.setVisible("ORVAL", "Picture1", true);
    game.setVisible("ORVAL", "Picture3", true);
    game.setVisible("ORVAL", "Picture5", true);
}

// Hiding the normal picture uncovers its highlighted copy behind it.
void Image1_MouseMove(Game& game) { game.setVisible("ORVAL", "Picture1", false); }
void Image2_MouseMove(Game& game) { game.setVisible("ORVAL", "Picture3", false); }
void Image3_MouseMove(Game& game) { game.setVisible("ORVAL", "Picture5", false); }

// NOVÁ HRA: the briefing opens first, so a window is open at every moment.
void Picture2_Click(Game& game) {
    game.show("Příběh");
    game.unload("ORVAL");
}

// O ORVAL KESK: the credits open over the menu, which stays behind them.
void ShowCredits(Game& game) { game.show("about"); }

// KONEC.
void Picture6_Click(Game& game) { game.end(); }

}  // namespace

void registerOrval(HandlerRegistry& registry) {
    registry.add("ORVAL", "Form_MouseMove", Form_MouseMove);
    registry.add("ORVAL", "Image1_MouseMove", Image1_MouseMove);
    registry.add("ORVAL", "Image2_MouseMove", Image2_MouseMove);
    registry.add("ORVAL", "Image3_MouseMove", Image3_MouseMove);
    registry.add("ORVAL", "Picture2_Click", Picture2_Click);
    registry.add("ORVAL", "Picture3_Click", ShowCredits);
    registry.add("ORVAL", "Picture4_Click", ShowCredits);
    registry.add("ORVAL", "Image2_Click", ShowCredits);
    registry.add("ORVAL", "Picture6_Click", Picture6_Click);
}

}  // namespace orval::front
