// ORVAL, the main menu: hover highlighting of the three entries, their actions and the marks of
// the languages.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The pointer on the background ends every highlight.
void HoverOverTheBackground(Game& game) {
    game.setVisible("ORVAL", "Picture1", true);
    game.setVisible("ORVAL", "Picture3", true);
    game.setVisible("ORVAL", "Picture5", true);
}

// Hiding the normal picture uncovers its highlighted copy behind it.
void HoverOverNewGame(Game& game) { game.setVisible("ORVAL", "Picture1", false); }
void HoverOverCredits(Game& game) { game.setVisible("ORVAL", "Picture3", false); }
void HoverOverQuit(Game& game) { game.setVisible("ORVAL", "Picture5", false); }

// NOVÁ HRA: the briefing opens first, so a window is open at every moment.
void StartANewGame(Game& game) {
    game.show("Příběh");
    game.unload("ORVAL");
}

// O ORVAL KESK: the credits open over the menu, which stays behind them.
void ShowCredits(Game& game) { game.show("about"); }

// The key cap F1: the card of the keys and the controller's buttons.
void ShowTheControls(Game& game) { game.showControls(); }

// KONEC: the program ends at once, straight from the menu.
void QuitTheGame(Game& game) { game.end(); }

// A mark of the languages (CZ, EN): the game speaks its language from now on.
void ChooseTheLanguage(Game& game, const Control& mark) { game.setLanguage(mark.language); }

}  // namespace

void registerOrval(HandlerRegistry& registry) {
    registry.add("ORVAL", "Form_MouseMove", HoverOverTheBackground);
    registry.add("ORVAL", "Image1_MouseMove", HoverOverNewGame);
    registry.add("ORVAL", "Image2_MouseMove", HoverOverCredits);
    registry.add("ORVAL", "Image3_MouseMove", HoverOverQuit);
    registry.add("ORVAL", "Picture2_Click", StartANewGame);
    registry.add("ORVAL", "Picture3_Click", ShowCredits);
    registry.add("ORVAL", "Picture4_Click", ShowCredits);
    registry.add("ORVAL", "Image2_Click", ShowCredits);
    registry.add("ORVAL", "Picture6_Click", QuitTheGame);
    registry.add("ORVAL", "Picture7_Click", ShowTheControls);
    registry.add("ORVAL", "Language_Click", ChooseTheLanguage);
}

}  // namespace orval::front
