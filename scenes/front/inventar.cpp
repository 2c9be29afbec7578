// Inventář, the inventory: using an item is where the story moves on; using the pistol wins.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The pistol: the arrest; the final screen follows when the timer runs out.
void Image1_Click(Game& game) {
    game.setEnabled("Inventář", "Timer1", true);
    game.playSound("zvuky/zatčení.wav");
}

// After the arrest the final screen comes up (and closes this window).
void Timer1_Timer(Game& game) { game.show("win"); }

// The listening device: a night passes in the car and yields the cassette; the villa's door opens.
void Image2_Click(Game& game) {
    game.messageBox("Počkal jsi do dalšího dne", "Další den");
    game.setVisible("Inventář", "Picture6", true);
    game.setVisible("Inventář", "Picture3", false);
    game.setEnabled("Inventář", "Image2", false);
    game.setEnabled("Vila", "Image1", true);
    game.setEnabled("Vila", "Image2", false);
    game.setEnabled("Vila", "Image3", false);
    game.playSound("zvuky/důkazy.wav");
}

// The meat: the dog eats, stops guarding and lets the agent through the door.
void Image3_Click(Game& game) {
    game.setEnabled("Inventář", "Image3", false);
    game.setVisible("Inventář", "Picture4", false);
    game.setEnabled("pes", "Image1", false);
    game.setEnabled("pes", "Image2", true);
    game.setEnabled("pes", "Image3", true);
    game.setVisible("pes", "Picture2", true);
    game.playSound("zvuky/pejsek.wav");
}

// The peanuts, were they ever usable: Mr. Black stops talking, so that talking to him draws the
// pistol without the cassette. No scene enables them, so in play this never runs.
void Image4_Click(Game& game) { game.setEnabled("black", "Image2", false); }

// The cassette: the evidence silences Mr. Black and the pistol can be drawn.
void Image5_Click(Game& game) {
    game.setEnabled("black", "Image2", false);
    game.setVisible("Inventář", "Picture6", false);
    game.setEnabled("Inventář", "Image5", false);
    game.setEnabled("Inventář", "Image1", true);
    game.playSound("zvuky/zatýkání.wav");
}

// The pistol is not of use yet.
void Picture2_Click(Game& game) { game.playSound("zvuky/nefunguje.wav"); }

// The listening device or the peanuts are not of use here.
void Picture3_Click(Game& game) { game.playSound("zvuky/nefunguje2.wav"); }
void Picture5_Click(Game& game) { game.playSound("zvuky/nefunguje2.wav"); }

// The meat or the cassette are not of use yet.
void Picture4_Click(Game& game) { game.playSound("zvuky/nefunguje3.wav"); }
void Picture6_Click(Game& game) { game.playSound("zvuky/nefunguje3.wav"); }

}  // namespace

void registerInventar(HandlerRegistry& registry) {
    registry.add("Inventář", "Image1_Click", Image1_Click);
    registry.add("Inventář", "Timer1_Timer", Timer1_Timer);
    registry.add("Inventář", "Image2_Click", Image2_Click);
    registry.add("Inventář", "Image3_Click", Image3_Click);
    registry.add("Inventář", "Image4_Click", Image4_Click);
    registry.add("Inventář", "Image5_Click", Image5_Click);
    registry.add("Inventář", "Picture2_Click", Picture2_Click);
    registry.add("Inventář", "Picture3_Click", Picture3_Click);
    registry.add("Inventář", "Picture4_Click", Picture4_Click);
    registry.add("Inventář", "Picture5_Click", Picture5_Click);
    registry.add("Inventář", "Picture6_Click", Picture6_Click);
}

}  // namespace orval::front
