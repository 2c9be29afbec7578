// Where the game looks for its files: ORVAL_DATADIR, beside the program (the build tree), the
// installed folder relative to the program (a moved tree), the configured installed folder.
#include <set>

#include "shell/game_directory.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

TEST(GameDirectory, ThePlacesAreTriedInOrderAndTheFirstWithDescriptionsWins) {
    struct Row {
        const char* what;
        std::optional<fs::path> environment;
        fs::path relative;
        std::set<fs::path> holding;  // the places that hold data/scenes
        std::optional<fs::path> found;
    };
    const fs::path beside = "/opt/hra/games";
    const fs::path moved = "/opt/hra/share/games/orval-kesk";
    const fs::path configured = "/usr/share/games/orval-kesk";
    const fs::path chosen = "/home/hráč/data";
    const Row rows[] = {
        {"ORVAL_DATADIR first",
         chosen,
         "../share/games/orval-kesk",
         {chosen, beside, moved, configured},
         chosen},
        {"ORVAL_DATADIR without data is passed over",
         chosen,
         "../share/games/orval-kesk",
         {beside, configured},
         beside},
        {"the build tree before an installed copy",
         std::nullopt,
         "../share/games/orval-kesk",
         {beside, moved, configured},
         beside},
        {"a moved installed tree",
         std::nullopt,
         "../share/games/orval-kesk",
         {moved, configured},
         moved},
        {"the configured folder last",
         std::nullopt,
         "../share/games/orval-kesk",
         {configured},
         configured},
        {"no relative place configured", std::nullopt, "", {configured}, configured},
        {"nowhere", chosen, "../share/games/orval-kesk", {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const GameDirectoryPlaces places{row.environment, beside, row.relative, configured};
        std::string whereLooked;
        const auto found = findGameDirectory(
            places, [&](const fs::path& p) { return row.holding.contains(p.lexically_normal()); },
            whereLooked);
        EXPECT_EQ(found, row.found);
        if (!row.found) {
            // The player learns every place the game looked in.
            for (const fs::path& place : {chosen, beside, moved, configured})
                EXPECT_TRUE(mentions(whereLooked, place.lexically_normal().string()));
        }
    }
}

}  // namespace
}  // namespace orval::testing
