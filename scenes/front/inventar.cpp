// Inventář, the inventory: using an item is where the story moves on; using the pistol wins.
#include "scenes/game.h"

namespace orval::front {
namespace {

// The pistol: the arrest; the final screen follows when the timer runs out.
void UseThePistol(Game& game) {
    game.setEnabled("Inventář", "Timer1", true);
    game.playSound("zatčení.wav");
}

// After the arrest the final screen comes up (and closes this window).
void ArrestTimerRunsOut(Game& game) { game.show("win"); }

// The listening device: a night passes in the car and yields the cassette; the villa's door opens.
void UseTheListeningDevice(Game& game) {
    game.messageBox("next day");
    game.setVisible("Inventář", "Picture6", true);
    game.setVisible("Inventář", "Picture3", false);
    game.setEnabled("Inventář", "Image2", false);
    game.setEnabled("Vila", "Image1", true);
    game.setEnabled("Vila", "Image2", false);
    game.setEnabled("Vila", "Image3", false);
    game.playSound("důkazy.wav");
}

// The meat: the dog eats, stops guarding and lets the agent through the door.
void FeedTheDog(Game& game) {
    game.setEnabled("Inventář", "Image3", false);
    game.setVisible("Inventář", "Picture4", false);
    game.setEnabled("pes", "Image1", false);
    game.setEnabled("pes", "Image2", true);
    game.setEnabled("pes", "Image3", true);
    game.setVisible("pes", "Picture2", true);
    game.playSound("pejsek.wav");
}

// The peanuts, were they ever usable: Mr. Black stops talking, so that talking to him draws the
// pistol without the cassette. No scene enables them, so in play this never runs.
void UseThePeanuts(Game& game) { game.setEnabled("black", "Image2", false); }

// The cassette: the evidence silences Mr. Black and the pistol can be drawn.
void PlayTheCassette(Game& game) {
    game.setEnabled("black", "Image2", false);
    game.setVisible("Inventář", "Picture6", false);
    game.setEnabled("Inventář", "Image5", false);
    game.setEnabled("Inventář", "Image1", true);
    game.playSound("zatýkání.wav");
}

// The pistol before Mr. Black is silenced: not of use yet, only a sound.
void TryThePistolTooSoon(Game& game) { game.playSound("nefunguje.wav"); }

// The listening device away from the car: not of use here, only a sound.
void TryTheListeningDeviceInVain(Game& game) { game.playSound("nefunguje2.wav"); }

// The peanuts: not of use anywhere, only a sound.
void TryThePeanutsInVain(Game& game) { game.playSound("nefunguje2.wav"); }

// The meat before the dog has growled: not of use yet, only a sound.
void TryTheMeatTooSoon(Game& game) { game.playSound("nefunguje3.wav"); }

// The cassette before Mr. Black has greeted the agent: not of use yet, only a sound.
void TryTheCassetteTooSoon(Game& game) { game.playSound("nefunguje3.wav"); }

}  // namespace

void registerInventar(HandlerRegistry& registry) {
    registry.add("Inventář", "Image1_Click", UseThePistol);
    registry.add("Inventář", "Timer1_Timer", ArrestTimerRunsOut);
    registry.add("Inventář", "Image2_Click", UseTheListeningDevice);
    registry.add("Inventář", "Image3_Click", FeedTheDog);
    registry.add("Inventář", "Image4_Click", UseThePeanuts);
    registry.add("Inventář", "Image5_Click", PlayTheCassette);
    registry.add("Inventář", "Picture2_Click", TryThePistolTooSoon);
    registry.add("Inventář", "Picture3_Click", TryTheListeningDeviceInVain);
    registry.add("Inventář", "Picture4_Click", TryTheMeatTooSoon);
    registry.add("Inventář", "Picture5_Click", TryThePeanutsInVain);
    registry.add("Inventář", "Picture6_Click", TryTheCassetteTooSoon);
}

}  // namespace orval::front
