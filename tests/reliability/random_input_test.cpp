// Long random input on the whole game, Enter restarting at each game over.
#include "support/gamesession.h"

#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using hwtest::GameSession;

// Random keys, clicks and mouse motion, Enter restarting at each game over: no crash, no message,
// every position a finite number after every frame, and games played to their end.
class RandomInput : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RandomInput, EightThousandFramesStayFiniteAndSilent) {
    const uint32_t seed = GetParam();
    GameSession game;
    ASSERT_TRUE(game.ok());
    // The picture is not what is tested; a small view keeps the software rasteriser quick.
    ResizeGLView(160, 120);
    game.start(seed);
    std::mt19937 rng(seed);
    const int keys[] = {VK_LEFT,    VK_RIGHT,   VK_UP, VK_DOWN,  VK_PRIOR, VK_NEXT,
                        VK_NUMPAD8, VK_NUMPAD2, 'A',   'S',      VK_TAB,   VK_F1,
                        '0',        '1',        '2',   VK_RETURN};
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> motion(-60, 60);
    int games = 0;
    for (int f = 0; f < 8000; ++f) {
        for (int key : keys) {
            // The free camera is rare, so most games are played following a team.
            const int chance = key == '0' ? 1 : key == VK_RETURN ? 30 : 12;
            headless::setKey(key, percent(rng) < chance);
        }
        headless::setCursor(WIDTH_CENTER + motion(rng), HEIGHT_CENTER + motion(rng));
        const int click = percent(rng);
        if (click < 4) {
            game.leftClick();
        } else if (click < 5) {
            game.rightClick();
        }
        const int before = gameState;
        game.frame();
        games += before == STATE_GAME_OVER && gameState == STATE_TEAM_SELECT;
        ASSERT_TRUE(hwtest::worldPositionsFinite()) << "frame " << f;
    }
    headless::releaseAllKeys();
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_GT(games, 0); // restarts under random input were reached
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Range(1u, 9u));

} // namespace
