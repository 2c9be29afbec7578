// The handlers of every scene, and the list of the game's scenes.
#include <string>
#include <vector>

#include "scenes/game.h"

namespace orval {

namespace front {
void registerOrval(HandlerRegistry& registry);
void registerPribeh(HandlerRegistry& registry);
void registerVelitelstvi(HandlerRegistry& registry);
void registerMapa(HandlerRegistry& registry);
void registerInventar(HandlerRegistry& registry);
void registerAbout(HandlerRegistry& registry);
void registerWin(HandlerRegistry& registry);
}  // namespace front

namespace places {
void registerDoma(HandlerRegistry& registry);
void registerSklad(HandlerRegistry& registry);
void registerBanka(HandlerRegistry& registry);
void registerVila(HandlerRegistry& registry);
void registerPes(HandlerRegistry& registry);
void registerBlack(HandlerRegistry& registry);
void registerBrown(HandlerRegistry& registry);
void registerGreen(HandlerRegistry& registry);
void registerRozmluva(HandlerRegistry& registry);
}  // namespace places

void registerAllHandlers(HandlerRegistry& registry) {
    front::registerOrval(registry);
    front::registerPribeh(registry);
    front::registerVelitelstvi(registry);
    front::registerMapa(registry);
    front::registerInventar(registry);
    front::registerAbout(registry);
    front::registerWin(registry);
    places::registerDoma(registry);
    places::registerSklad(registry);
    places::registerBanka(registry);
    places::registerVila(registry);
    places::registerPes(registry);
    places::registerBlack(registry);
    places::registerBrown(registry);
    places::registerGreen(registry);
    places::registerRozmluva(registry);
}

const std::vector<std::string>& sceneNames() {
    static const std::vector<std::string> names = {
        "ORVAL", "Příběh", "velitelství", "Mapa",  "Inventář", "doma",     "Sklad", "Banka",
        "Vila",  "pes",    "black",       "Brown", "green",    "Rozmluva", "win",   "about",
    };
    return names;
}

const std::vector<std::string>& soundClips() {
    static const std::vector<std::string> clips = {
        "alarm.wav",      "arašídy.wav",    "auto.wav",       "black.wav",    "black2.wav",
        "blek.wav",       "dokumenty.wav",  "důkazy.wav",     "go bank.wav",  "hlasatelka.wav",
        "klokani.wav",    "krisí maso.wav", "zorvina.wav",    "matoni.wav",   "naschle.wav",
        "nefunguje.wav",  "nefunguje2.wav", "nefunguje3.wav", "nemám.wav",    "no money.wav",
        "okno vily.wav",  "pejsek.wav",     "pozdrav.wav",    "průser.wav",   "přání.wav",
        "seznam.wav",     "setkání.wav",    "sleva.wav",      "telefon.wav",  "televize.wav",
        "tunelbanka.wav", "vrčení.wav",     "zatčení.wav",    "zatýkání.wav",
    };
    return clips;
}

const std::vector<GameMessage>& gameMessages() {
    static const std::vector<GameMessage> messages = {
        {"documents", "DOKUMENTY",
         "Včera byl vykraden obchod Mr. Greena, je jisté, že to byl Mr. Black. Mr. Green ho ale "
         "sledoval a zjistil, kde se teď skrývá. Dostaň z Greena, kde se Black skrývá."},
        {"next day", "Další den", "Počkal jsi do dalšího dne"},
    };
    return messages;
}

const GameMessage* findMessage(std::string_view id) {
    for (const GameMessage& m : gameMessages())
        if (m.id == id) return &m;
    return nullptr;
}

}  // namespace orval
