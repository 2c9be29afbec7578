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
    // Speaks another language from now on (a code of po/*.po, or Czech's "cs"): every shown
    // window is drawn again in it at once, and the words of the clip playing end.
    virtual void setLanguage(std::string_view code) = 0;
};

// The control a handler was called for: its name, and for a mark of the languages the
// language it stands for (empty otherwise).
struct Control {
    std::string_view name;
    std::string_view language;
};

using Handler = void (*)(Game&);
// A handler bound to several controls that must know which one the player used.
using ControlHandler = void (*)(Game&, const Control&);

// A registered handler of either kind, called with the control it was called for.
class RegisteredHandler {
  public:
    RegisteredHandler() = default;
    explicit RegisteredHandler(Handler handler) : plain_(handler) {}
    explicit RegisteredHandler(ControlHandler handler) : withControl_(handler) {}
    explicit operator bool() const { return plain_ || withControl_; }
    void operator()(Game& game, const Control& control = {}) const {
        if (withControl_)
            withControl_(game, control);
        else
            plain_(game);
    }

  private:
    Handler plain_ = nullptr;
    ControlHandler withControl_ = nullptr;
};

// Every handler the game's code provides, under (scene name, handler name).
class HandlerRegistry {
  public:
    // Registers the code of one handler; a second registration under the same names is a
    // programming error that would silently replace the first, so it throws std::logic_error.
    void add(std::string_view scene, std::string_view name, Handler handler) {
        insert(scene, name, RegisteredHandler(handler));
    }
    void add(std::string_view scene, std::string_view name, ControlHandler handler) {
        insert(scene, name, RegisteredHandler(handler));
    }
    // The handler, or an empty one when no code registers one under these names.
    RegisteredHandler find(std::string_view scene, std::string_view name) const {
        const auto it = handlers_.find({std::string(scene), std::string(name)});
        return it == handlers_.end() ? RegisteredHandler() : it->second;
    }
    // All registered (scene, handler) names, for the test that every one is bound.
    std::vector<std::pair<std::string, std::string>> names() const {
        std::vector<std::pair<std::string, std::string>> all;
        for (const auto& entry : handlers_) all.push_back(entry.first);
        return all;
    }

  private:
    // Refuses a second registration under the same names, which would silently replace the first.
    void insert(std::string_view scene, std::string_view name, RegisteredHandler handler) {
        if (!handlers_.try_emplace({std::string(scene), std::string(name)}, handler).second)
            throw std::logic_error("the handler " + std::string(name) + " of " +
                                   std::string(scene) + " is registered twice");
    }

    std::map<std::pair<std::string, std::string>, RegisteredHandler> handlers_;
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
