// The screens as pictures, rendered offscreen: background, text in the regions where each line
// belongs, and the world drawn in play with the lights off and on.
#include "support/gamesession.h"

#include "main/game.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include "main/hoopwind.h"
#include "main/world.h"
#include "shared/globals.h"
#include "team/team.h"

#include <cstdlib>
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using Pixels = std::vector<unsigned char>;
using Test = std::function<bool(const unsigned char*)>;

// Pixels per world unit in the text plane z = -50.1 (45 degree field of view, 480 rows).
constexpr float kPixelsPerUnit = 240.0f / (50.1f * 0.41421356f);

int columnOf(float x) {
    return static_cast<int>(320.0f + x * kPixelsPerUnit);
}
int rowOf(float y) { // rows counted from the bottom, as glReadPixels delivers them
    return static_cast<int>(240.0f + y * kPixelsPerUnit);
}

int count(const Pixels& px, int x0, int x1, int y0, int y1, const Test& test) {
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, 480); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, 640); ++x) {
            n += test(&px[(static_cast<size_t>(y) * 640 + x) * 4]) ? 1 : 0;
        }
    }
    return n;
}

// Text whose baseline-centre line sits at world (x, y) and runs `units` to the right.
int inLine(const Pixels& px, float x, float y, float units, const Test& test) {
    return count(px, columnOf(x) - 4, columnOf(x + units), rowOf(y) - 14, rowOf(y) + 14, test);
}

bool yellow(const unsigned char* p) {
    return p[0] > 200 && p[1] > 200 && p[2] < 90;
}
bool red(const unsigned char* p) {
    return p[0] > 200 && p[1] < 80 && p[2] < 80;
}
bool notBlack(const unsigned char* p) {
    return p[0] + p[1] + p[2] > 30;
}
bool clearColour(const unsigned char* p) { // the sky of play: (0.85, 0.85, 1.0)
    return std::abs(p[0] - 217) <= 2 && std::abs(p[1] - 217) <= 2 && p[2] >= 253;
}

int distinctColours(const Pixels& px) {
    std::set<unsigned> colours;
    for (size_t i = 0; i + 3 < px.size(); i += 4 * 7) {
        colours.insert(px[i] << 16 | px[i + 1] << 8 | px[i + 2]);
    }
    return static_cast<int>(colours.size());
}

class ScreensTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(game.ok()); }
    Pixels shot() { return headless::readFramebuffer(); }
    hwtest::GameSession game;
};

TEST_F(ScreensTest, SplashIsShownOnceBeforeTheWorldLoads) {
    int drawnAtSwap = -1;
    headless::setSwapHook([&](int swaps) {
        if (swaps == 1) {
            Pixels px = headless::readFramebuffer();
            drawnAtSwap = count(px, 0, 640, 0, 480, notBlack);
        }
    });
    game.start();
    headless::setSwapHook(nullptr);
    EXPECT_EQ(headless::swapCount(), 1);
    EXPECT_GT(drawnAtSwap, 640 * 480 * 9 / 10);
}

TEST_F(ScreensTest, PlayDrawsTheWorldUnderTheHeadUpText) {
    game.start();
    game.tap('1');
    game.frames(3);
    Pixels dark = shot();
    EXPECT_FALSE(USE_LIGHTS);
    const int sky = count(dark, 0, 640, 0, 480, clearColour);
    EXPECT_LT(sky, 640 * 480 * 8 / 10) << "the world covers too little of the view";
    EXPECT_GT(distinctColours(dark), 50);
    EXPECT_GT(inLine(dark, -25.2f, 18.89f, 40.0f, red), 300); // role and score
    EXPECT_GT(inLine(dark, -12.7f, 17.14f, 24.0f, red), 200); // Pellum holder

    game.tap(VK_TAB);
    ASSERT_TRUE(USE_LIGHTS);
    game.frame();
    Pixels lit = shot();
    EXPECT_GT(inLine(lit, -25.2f, 18.89f, 40.0f, red), 300);
    int changed = 0;
    for (size_t i = 0; i < lit.size(); i += 4) {
        const int d = std::abs(lit[i] - dark[i]) + std::abs(lit[i + 1] - dark[i + 1]) +
                      std::abs(lit[i + 2] - dark[i + 2]);
        changed += d > 24 ? 1 : 0;
    }
    EXPECT_GT(changed, 640 * 480 / 20) << "lighting changed too little of the picture";
    EXPECT_GT(count(lit, 0, 640, 0, 480, notBlack), 640 * 480 / 2);
}

TEST_F(ScreensTest, GameOverShowsTheBackgroundAndTheResult) {
    game.start();
    game.tap('2');
    team[1]->catchFlicket();
    gameState = STATE_GAME_ENDING;
    game.frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    Pixels px = shot();
    EXPECT_GT(count(px, 0, 640, 0, 480, notBlack), 640 * 480 * 9 / 10);
    EXPECT_GT(distinctColours(px), 200);
    EXPECT_GT(inLine(px, -23.65f, 4.95f, 40.0f, yellow), 600);   // the winner
    EXPECT_GT(inLine(px, -23.4f, -3.0f, 20.0f, yellow), 300);    // its score
    EXPECT_GT(inLine(px, 6.5f, -3.0f, 20.0f, yellow), 300);      // the other score
    EXPECT_GT(inLine(px, -16.95f, -17.35f, 33.0f, yellow), 400); // Enter / ESC
    EXPECT_EQ(count(px, 0, 640, 0, 480, red), 0);                // no head-up text left over
}

} // namespace
