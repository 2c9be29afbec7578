// The operations a scene handler may use, and the registry of handlers by scene and name.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orval {

// What a handler can do to the game; scenes and controls are named, never held.
class Game {
  public:
    virtual ~Game() = default;

    // Loads the scene if needed, makes its window visible, brings it to the front and focuses it.
    virtual void show(std::string_view scene) = 0;
    // Discards a loaded scene (window, timers, flags); does nothing to a scene not loaded.
    virtual void unload(std::string_view scene) = 0;
    // Ends the program at once: the rest of the running handler does not run.
    [[noreturn]] virtual void end() = 0;
    // Changes a flag, loading the scene hidden first if it is not loaded.
    virtual void setVisible(std::string_view scene, std::string_view control, bool visible) = 0;
    virtual void setEnabled(std::string_view scene, std::string_view control, bool enabled) = 0;
    // Reads the visible flag of a control, loading the scene hidden first if needed.
    virtual bool isVisible(std::string_view scene, std::string_view control) = 0;
    // A modal box with the information icon and one OK button, saying the message of
    // gameMessages() under this id in the player's language; returns when it is closed.
    virtual void messageBox(std::string_view message) = 0;
    // Starts a clip of soundClips() such as "telefon.wav", spoken in the player's language where
    // it has its own; never fails, never waits.
    virtual void playSound(std::string_view clip) = 0;
    // Opens a web address (without scheme) in the user's browser; never fails, never waits.
    virtual void openLink(std::string_view address) = 0;
    // The card of the keys and the controller's buttons, modal like the message box.
    virtual void showControls() = 0;
};

using Handler = void (*)(Game&);

// Every handler the game's code provides, under (scene name, handler name).
class HandlerRegistry {
  public:
    // Registers the code of one handler; a second registration under the same names is a
    // programming error that would silently replace the first, so it throws std::logic_error.
    void add(std::string_view scene, std::string_view name, Handler handler) {
        if (!handlers_.try_emplace({std::string(scene), std::string(name)}, handler).second)
            throw std::logic_error("the handler " + std::string(name) + " of " +
                                   std::string(scene) + " is registered twice");
    }
    // The handler, or nullptr when no code registers one under these names.
    Handler find(std::string_view scene, std::string_view name) const {
        const auto it = handlers_.find({std::string(scene), std::string(name)});
        return it == handlers_.end() ? nullptr : it->second;
    }
    // All registered (scene, handler) names, for the test that every one is bound.
    std::vector<std::pair<std::string, std::string>> names() const {
        std::vector<std::pair<std::string, std::string>> all;
        for (const auto& entry : handlers_) all.push_back(entry.first);
        return all;
    }

  private:
    std::map<std::pair<std::string, std::string>, Handler> handlers_;
};

// Registers the handlers of every scene of the game.
void registerAllHandlers(HandlerRegistry& registry);

// The 16 scenes, in the order their description files are read.
const std::vector<std::string>& sceneNames();

// The file names of the 34 clips under zvuky/ that the handlers play; each has subtitles.
const std::vector<std::string>& soundClips();

// A message box's words, in Czech; a catalogue translates them under the message's id.
struct GameMessage {
    std::string_view id, title, text;
};
const std::vector<GameMessage>& gameMessages();
// The message of this id, or nullptr.
const GameMessage* findMessage(std::string_view id);

}  // namespace orval
