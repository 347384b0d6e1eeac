// Long stretches of random keys, clicks and mouse motion, restarting at each game over: no
// crash, no message, and every world position a finite number after every frame.
#include "reliability/gamesession.h"

#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace reliability {
namespace {

// Random input for a number of frames: each frame holds a random set of keys, moves the mouse
// a random amount and sometimes clicks a button; Enter on the game-over screen restarts.
void randomFrames(uint32_t seed, int frames) {
    GameSession game(generatedDataDir());
    ASSERT_TRUE(game.ok());
    // A small view: the picture is not what is tested here, and filling 640 x 480 with a
    // software rasteriser would make the run many times longer without testing anything more.
    ResizeGLView(160, 120);
    game.start(seed);
    std::mt19937 rng(seed);
    const int keys[] = {VK_LEFT,    VK_RIGHT,   VK_UP, VK_DOWN,  VK_PRIOR, VK_NEXT,
                        VK_NUMPAD8, VK_NUMPAD2, 'A',   'S',      VK_TAB,   VK_F1,
                        '0',        '1',        '2',   VK_RETURN};
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> motion(-60, 60);
    int games = 0;
    for (int f = 0; f < frames; ++f) {
        for (int key : keys) {
            // The free-camera key is rare, so most games are played following a team.
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
        if (before == STATE_GAME_OVER && gameState == STATE_TEAM_SELECT) {
            ++games;
        }
        ASSERT_TRUE(worldPositionsFinite()) << "frame " << f;
        ASSERT_TRUE(gameState == STATE_TEAM_SELECT || gameState == STATE_PLAYING ||
                    gameState == STATE_GAME_ENDING || gameState == STATE_GAME_OVER)
            << "frame " << f;
    }
    headless::releaseAllKeys();
    EXPECT_TRUE(headless::messageBoxes().empty());
    // A run that never left one game would not have tested restarts under random input.
    EXPECT_GT(games, 0);
    std::printf("%d games restarted in %d frames\n", games, frames);
}

// Two hundred thousand frames in all, in sixteen runs of different seeds, so that each run stays
// well within a test's time limit.
class RandomInput : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RandomInput, TwelveThousandFiveHundredFrames) {
    randomFrames(GetParam(), 12500);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Range(1u, 17u));

} // namespace
} // namespace reliability
