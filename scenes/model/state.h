// The changing part of a loaded scene: each control's Visible and Enabled flag.
#pragma once

#include <vector>

#include "scenes/model/description.h"

namespace orval {

struct ControlFlags {
    bool visible = true;
    bool enabled = true;
};

// Flags of every control of one scene, indexed like SceneDescription::controls.
using SceneFlags = std::vector<ControlFlags>;

// The flags a scene starts with on every load.
inline SceneFlags initialFlags(const SceneDescription& scene) {
    SceneFlags flags;
    flags.reserve(scene.controls.size());
    for (const ControlDescription& c : scene.controls) flags.push_back({c.visible, c.enabled});
    return flags;
}

}  // namespace orval
