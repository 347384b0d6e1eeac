// The screens as offscreen pictures: splash, play with lights off and on, the result.
#include "support/gamesession.h"

#include "main/world.h"
#include "platform/headless.h"
#include "render/image.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using Pixels = std::vector<unsigned char>;
using Test = bool (*)(const unsigned char*);

// Pixels per world unit in the text plane z = -50.1 (45 degree field of view, 480 rows).
constexpr float kPixelsPerUnit = 240.0f / (50.1f * 0.41421356f);

int count(const Pixels& px, int x0, int x1, int y0, int y1, Test test) {
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, 480); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, 640); ++x) {
            n += test(&px[(static_cast<size_t>(y) * 640 + x) * 4]) ? 1 : 0;
        }
    }
    return n;
}
int everywhere(const Pixels& px, Test test) {
    return count(px, 0, 640, 0, 480, test);
}

// Text from world (x, y) in the text plane, `units` long; rows count from the bottom.
int inLine(const Pixels& px, float x, float y, float units, Test test) {
    const int column = static_cast<int>(320.0f + x * kPixelsPerUnit);
    const int row = static_cast<int>(240.0f + y * kPixelsPerUnit);
    return count(px, column - 4, column + static_cast<int>(units * kPixelsPerUnit), row - 14,
                 row + 14, test);
}

const Test yellow = [](const unsigned char* p) { return p[0] > 200 && p[1] > 200 && p[2] < 90; };
const Test red = [](const unsigned char* p) { return p[0] > 200 && p[1] < 80 && p[2] < 80; };
// The head-up text's outline (0.12, 0, 0); the clear colour of play (0.85, 0.85, 1.0).
const Test rim = [](const unsigned char* p) {
    return p[0] > 20 && p[0] < 45 && p[1] < 8 && p[2] < 8;
};
const Test notBlack = [](const unsigned char* p) { return p[0] + p[1] + p[2] > 30; };
const Test sky = [](const unsigned char* p) {
    return std::abs(p[0] - 217) <= 2 && std::abs(p[1] - 217) <= 2 && p[2] >= 253;
};

TEST(Screens, SplashThenTheWorldUnderTheHeadUpTextThenTheResultOverTheBackground) {
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    Pixels splash; // the one picture shown while the world loads
    headless::setSwapHook(
        [&](int swaps) { splash = swaps == 1 ? headless::readFramebuffer() : Pixels{}; });
    game.start();
    headless::setSwapHook(nullptr);
    EXPECT_EQ(headless::swapCount(), 1);
    ASSERT_GT(everywhere(splash, notBlack), 640 * 480 * 9 / 10);
    // The picture spans the width and the middle three quarters of its height, undistorted.
    ImageRec* bg = LoadBMP(testdata::dataPath("BG.bmp").c_str());
    ASSERT_NE(bg, nullptr);
    for (auto [x, y] : {std::pair{40, 40}, {600, 40}, {40, 440}, {600, 440}}) {
        const int row = static_cast<int>((0.125f + 0.75f * y / 480) * bg->height);
        const unsigned char *t = bg->data + (size_t(row) * bg->width + x * bg->width / 640) * 3,
                            *p = &splash[(size_t(y) * 640 + x) * 4];
        EXPECT_LT(std::abs(p[0] - t[0]) + std::abs(p[1] - t[1]) + std::abs(p[2] - t[2]), 30)
            << x << "," << y;
    }
    FreeImageRec(bg);
    game.tap('1');
    game.frames(3);
    const Pixels dark = headless::readFramebuffer();
    EXPECT_LT(everywhere(dark, sky), 640 * 480 * 8 / 10) << "the world covers too little";
    EXPECT_GT(inLine(dark, -25.2f, 18.89f, 40.0f, red), 300); // role and score
    EXPECT_GT(inLine(dark, -12.7f, 17.14f, 24.0f, red), 200); // Pellum holder
    EXPECT_GT(inLine(dark, -25.2f, 18.89f, 40.0f, rim), 300); // its dark outline

    game.tap(VK_TAB);
    game.frame();
    const Pixels lit = headless::readFramebuffer();
    EXPECT_GT(inLine(lit, -25.2f, 18.89f, 40.0f, red), 300);
    int changed = 0;
    for (size_t i = 0; i < lit.size(); i += 4) {
        changed += std::abs(lit[i] - dark[i]) + std::abs(lit[i + 1] - dark[i + 1]) > 24;
    }
    EXPECT_GT(changed, 640 * 480 / 20) << "lighting changed too little of the picture";
    EXPECT_GT(everywhere(lit, notBlack), 640 * 480 / 2);

    team[1]->catchFlicket();
    gameState = STATE_GAME_ENDING;
    game.frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    const Pixels px = headless::readFramebuffer();
    EXPECT_GT(everywhere(px, notBlack), 640 * 480 * 9 / 10);
    EXPECT_GT(inLine(px, -23.65f, 4.95f, 40.0f, yellow), 600);   // the winner
    EXPECT_GT(inLine(px, -23.4f, -3.0f, 20.0f, yellow), 300);    // its score
    EXPECT_GT(inLine(px, 6.5f, -3.0f, 20.0f, yellow), 300);      // the other score
    EXPECT_GT(inLine(px, -16.95f, -17.35f, 33.0f, yellow), 400); // Enter / ESC
    EXPECT_EQ(everywhere(px, red), 0);                           // no head-up text left over
}

} // namespace
