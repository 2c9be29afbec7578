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
        std::vector<std::string> passedOver;  // what the note on ORVAL_DATADIR says, if any
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
         chosen,
         {}},
        {"ORVAL_DATADIR without data is passed over, and the player told",
         chosen,
         "../share/games/orval-kesk",
         {beside, configured},
         beside,
         {"ORVAL_DATADIR", chosen.string(), "holds no data/scenes",
          beside.lexically_normal().string()}},
        {"ORVAL_DATADIR set but empty",
         fs::path(),
         "../share/games/orval-kesk",
         {moved, configured},
         moved,
         {"ORVAL_DATADIR", "empty", moved.lexically_normal().string()}},
        {"the build tree before an installed copy",
         std::nullopt,
         "../share/games/orval-kesk",
         {beside, moved, configured},
         beside,
         {}},
        {"a moved installed tree",
         std::nullopt,
         "../share/games/orval-kesk",
         {moved, configured},
         moved,
         {}},
        {"the configured folder last",
         std::nullopt,
         "../share/games/orval-kesk",
         {configured},
         configured,
         {}},
        {"no relative place configured", std::nullopt, "", {configured}, configured, {}},
        {"nowhere", chosen, "../share/games/orval-kesk", {}, std::nullopt, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const GameDirectoryPlaces places{row.environment, beside, row.relative, configured};
        const GameDirectoryChoice choice = findGameDirectory(places, [&](const fs::path& p) {
            return row.holding.contains(p.lexically_normal()) ? "" : "holds no data/scenes folder";
        });
        EXPECT_EQ(choice.found, row.found);
        EXPECT_EQ(choice.environmentPassedOver.empty(), row.passedOver.empty())
            << choice.environmentPassedOver;
        for (const std::string& word : row.passedOver)
            EXPECT_TRUE(mentions(choice.environmentPassedOver, word));
        if (!row.found) {
            // The player learns every place the game looked in, and what was wrong there.
            for (const fs::path& place : {chosen, beside, moved, configured})
                EXPECT_TRUE(mentions(choice.whereLooked, place.lexically_normal().string()));
            EXPECT_TRUE(
                mentions(choice.whereLooked, chosen.lexically_normal().string() +
                                                 " (ORVAL_DATADIR: holds no data/scenes folder)"));
        }
    }
}

// A folder in ORVAL_DATADIR's place that is not the game's says what it is instead.
TEST(GameDirectory, AFolderWithoutTheGamesDataSaysWhatIsWrong) {
    struct Row {
        const char* what;
        void (*make)(const fs::path& place);
        const char* problem;  // empty: the folder is the game's
    };
    const Row rows[] = {
        {"the game's data",
         [](const fs::path& p) {
             fs::create_directory(p);
             copyData(p);
         },
         ""},
        {"missing", [](const fs::path&) {}, "does not exist"},
        {"a file", [](const fs::path& p) { writeFile(p, "data"); }, "is a file, not a folder"},
        {"an empty folder", [](const fs::path& p) { fs::create_directory(p); },
         "holds no data/scenes folder"},
        {"data/scenes a file",
         [](const fs::path& p) {
             fs::create_directories(p / "data");
             writeFile(p / "data" / "scenes", "");
         },
         "holds a data/scenes that is a file, not a folder"},
#ifdef ORVAL_TEST_UNREADABLE_FILES
        {"a link to itself", [](const fs::path& p) { makeUnreadable(p); },
         "is a loop of symbolic links"},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir temp;
        const fs::path place = temp.path() / "hra";
        row.make(place);
        EXPECT_EQ(gameDirectoryProblem(place), row.problem);
    }
}

}  // namespace
}  // namespace orval::testing
