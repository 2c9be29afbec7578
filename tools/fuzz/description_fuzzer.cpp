// Fuzz target: any bytes as a scene description. The loader may refuse them with a
// DescriptionError and nothing else: any other exception, a crash, a hang or a sanitizer report
// is a finding. `make fuzz` runs it under libFuzzer; the seed driver runs fixed inputs once.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "scenes/model/loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The game's own data, so that the pictures and cursors a seed names exist.
    static const std::filesystem::path dataDir = ORVAL_DATA_DIR;
    const auto anyHandler = [](std::string_view, std::string_view) { return true; };
    try {
        orval::parseSceneDescription(std::string_view(reinterpret_cast<const char*>(data), size),
                                     "fuzz.toml", dataDir, anyHandler);
    } catch (const orval::DescriptionError&) {
    }
    return 0;
}
