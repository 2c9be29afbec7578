#include "shell/scene_files.h"

#include <algorithm>
#include <set>

#include "scenes/model/loader.h"
#include "scenes/model/utf8_path.h"

namespace orval {

std::vector<SceneDescription> loadGameDescriptions(const std::filesystem::path& dataDir,
                                                   const HandlerRegistry& handlers,
                                                   std::vector<LaterPicture>* later) {
    const std::filesystem::path folder = dataDir / "scenes";
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw DescriptionError(utf8Of(folder) + ": the scene descriptions are missing");
    if (error) throw DescriptionError(utf8Of(folder) + " cannot be read: " + error.message());
    if (status.type() != std::filesystem::file_type::directory)
        throw DescriptionError(utf8Of(folder) + " is not a folder of scene descriptions");

    // A folder that cannot be listed must say so, not look like one with scenes missing.
    std::vector<std::filesystem::path> files;
    std::filesystem::directory_iterator item(folder, error);
    for (; !error && item != std::filesystem::directory_iterator(); item.increment(error))
        if (item->path().extension() == ".toml") files.push_back(item->path());
    if (error) throw DescriptionError(utf8Of(folder) + " cannot be listed: " + error.message());
    std::sort(files.begin(), files.end());

    const auto isRegistered = [&](std::string_view scene, std::string_view name) {
        return static_cast<bool>(handlers.find(scene, name));
    };
    std::vector<SceneDescription> read;
    PictureHeaders pictures;
    pictures.later = later;
    std::set<std::pair<std::string, std::string>> bound;
    for (const auto& file : files) {
        SceneDescription scene = loadSceneDescription(file, dataDir, isRegistered, &pictures);
        const auto& names = sceneNames();
        if (std::find(names.begin(), names.end(), scene.name) == names.end())
            throw DescriptionError(utf8Of(file) + ": scene " + scene.name +
                                   ": field Name: no such scene in the game");
        for (const auto& other : read)
            if (other.name == scene.name)
                throw DescriptionError(utf8Of(file) + ": scene " + scene.name +
                                       ": field Name: also described in " + other.file);
        for (const auto& [event, handler] : scene.handlers) bound.insert({scene.name, handler});
        for (const auto& control : scene.controls)
            for (const auto& [event, handler] : control.handlers)
                bound.insert({scene.name, handler});
        read.push_back(std::move(scene));
    }

    // In the order of the game's scene list, each exactly once.
    std::vector<SceneDescription> ordered;
    for (const std::string& name : sceneNames()) {
        const auto it =
            std::find_if(read.begin(), read.end(), [&](const auto& s) { return s.name == name; });
        if (it == read.end())
            throw DescriptionError(utf8Of(folder) + ": no description of the scene " + name);
        ordered.push_back(std::move(*it));
    }
    if (gameRoles(ordered).first.empty())
        throw DescriptionError(folder.string() +
                               ": no scene has the role first, the one the game opens with");
    for (const auto& [scene, handler] : handlers.names())
        if (!bound.contains({scene, handler}))
            throw DescriptionError(utf8Of(folder) + ": the handler " + handler + " of " + scene +
                                   " is bound to no event");
    return ordered;
}

}  // namespace orval
