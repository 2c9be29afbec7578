// Rozmluva, the conversation with Mr. Green: buying his goods and asking about Mr. Black.
#include "scenes/game.h"

namespace orval::places {
namespace {

// "Vzal bych si 1,- kg toho krysího masa.": the meat is bought and the question can be asked.
void BuyMeat(Game& game) {
    game.setVisible("Inventář", "Picture4", true);
    game.setEnabled("Rozmluva", "Image3", true);
    game.setVisible("Rozmluva", "Label3", true);
    if (game.isVisible("Inventář", "Picture4")) game.setEnabled("Rozmluva", "Image1", false);
    game.playSound("krisí maso.wav");
}

// "Chtěl bych ty arašídy.": the peanuts are bought.
void BuyPeanuts(Game& game) {
    game.setVisible("Inventář", "Picture5", true);
    if (game.isVisible("Inventář", "Picture5")) game.setEnabled("Rozmluva", "Image2", false);
    game.playSound("arašídy.wav");
}

// "Nevíte, kde je Mr. Black": Mr. Green tells, talks no more, and the bank opens on the map.
void AskAboutMrBlack(Game& game) {
    game.setEnabled("green", "Image8", false);
    game.setEnabled("green", "Image7", false);
    game.setEnabled("Rozmluva", "Image3", false);
    game.setEnabled("Mapa", "Image4", true);
    game.playSound("black2.wav");
}

// "Tak teda naschle": the conversation closes and starts afresh next time.
void SayGoodbye(Game& game) {
    game.unload("Rozmluva");
    game.playSound("naschle.wav");
}

}  // namespace

void registerRozmluva(HandlerRegistry& registry) {
    registry.add("Rozmluva", "Image1_Click", BuyMeat);
    registry.add("Rozmluva", "Image2_Click", BuyPeanuts);
    registry.add("Rozmluva", "Image3_Click", AskAboutMrBlack);
    registry.add("Rozmluva", "Label4_Click", SayGoodbye);
}

}  // namespace orval::places
