#include <gtest/gtest.h>

#include "tests/test_game.h"

TEST(Smoke, MenuOpens) {
    orval::testing::TestGame game;
    EXPECT_EQ(game.windows(), std::vector<std::string>{"ORVAL"});
}
