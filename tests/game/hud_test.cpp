// The texts each screen prints, where it prints them, the in-play lights, and the result lines of
// the game-over screen for every kind of ending.
#include "game/gamefixture.h"

#include "cball/cball.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/screens.h"
#include "main/world.h"
#include "player/player.h"
#include "shared/globals.h"
#include "team/team.h"

#include <cmath>

namespace gametest {
namespace {

class HudTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startGame();
    }
    void expectAt(const std::string& text, float x, float y) {
        const Printed* p = where(text);
        ASSERT_NE(p, nullptr) << "not printed: " << text;
        EXPECT_NEAR(p->x, x, 1e-3f) << text;
        EXPECT_NEAR(p->y, y, 1e-3f) << text;
        EXPECT_NEAR(p->z, -50.1f, 1e-3f) << text;
    }
    // Ends the game with the given scores and Flicket flags and draws the game-over screen.
    void endWith(int score0, bool caught0, int score1, bool caught1) {
        team[0]->score = score0;
        team[0]->caughtFlicket = caught0;
        team[1]->score = score1;
        team[1]->caughtFlicket = caught1;
        gameState = STATE_GAME_ENDING;
        frame();
        ASSERT_EQ(gameState, STATE_GAME_OVER);
        EXPECT_TRUE(texts().empty()); // the ending frame draws nothing
        frame();
    }
};

TEST_F(HudTest, SelectionScreenLines) {
    frame();
    ASSERT_EQ(texts().size(), 3u);
    expectAt("Press the Number of the Team You Wish to Play For", -24.2f, 2.75f);
    expectAt("1 - Emberhold", -21.7f, -2.8f);
    expectAt("2 - Stormwick", 9.8f, -2.8f);
}

TEST_F(HudTest, FollowingATeamShowsRoleScoreAndHolder) {
    tap('2');
    team[1]->score = 30;
    frame();
    const std::vector<std::string> expected = {"Chaser currently in view      Score = 30 pts",
                                               "No one is holding the Pellum"};
    EXPECT_EQ(texts(), expected);
    expectAt(expected[0], -25.2f, 18.89f);
    expectAt(expected[1], -12.7f, 17.14f);

    // Held by a team, the holder line moves 6.5 left.
    pellum->caught = true;
    pellum->holding = 0;
    team[0]->holdingPellum = true;
    frame();
    expectAt("Emberhold is in possesion of the Pellum!", -19.2f, 17.14f);
}

TEST_F(HudTest, DebugPositionTextFollowingAndFree) {
    tap('1');
    tap(VK_F1);
    ASSERT_TRUE(dispPos);
    Player* p = human();
    char line[128];
    std::snprintf(line, sizeof line, "X = %.4f, Y = %.4f, Z = %.4f, yrot = %.2f", p->xpos, p->ypos,
                  p->zpos, 360.0f - p->yrot);
    ASSERT_EQ(texts().size(), 4u);
    EXPECT_EQ(texts()[2], line);
    expectAt(line, -23.35f, -18.41f);
    expectAt("distBehindPlayer = 33.3000", -11.15f, -16.82f);

    tap('0');
    const std::vector<std::string> freeTexts = {
        "No one is holding the Pellum", "X = 0.0000, Y = -2.3400, Z = -45.0000, yrot = 0.00"};
    EXPECT_EQ(texts(), freeTexts);
    expectAt(freeTexts[1], -23.35f, -18.41f);

    tap(VK_F1);
    EXPECT_EQ(texts(), std::vector<std::string>{"No one is holding the Pellum"});
}

TEST_F(HudTest, LightsFollowTheCameraAndSitAtTheOriginInTheFreeCamera) {
    tap('1');
    Player* p = human();
    headless::setCursor(WIDTH_CENTER - 250, HEIGHT_CENTER); // turn by 30 degrees
    frame();
    const float heading = 360.0f - p->yrot;
    EXPECT_NEAR(lastLight0[0], p->xpos - std::sin(heading * piover180), 1e-3f);
    EXPECT_NEAR(lastLight0[1], p->ypos, 1e-3f);
    EXPECT_NEAR(lastLight0[2], 2000.0f + p->zpos - std::cos(heading * piover180), 1e-2f);
    EXPECT_EQ(lastLight0[3], 0.0f);
    EXPECT_NEAR(lastLight1[2], -lastLight0[2], 1e-3f);
    EXPECT_EQ(lastLight1[0], lastLight0[0]);

    tap('0');
    headless::setKey(VK_RIGHT, true);
    frames(4);
    headless::setKey(VK_RIGHT, false);
    ASSERT_NEAR(yrot, -14.0f, 1e-4f);
    EXPECT_NEAR(lastLight0[0], -std::sin(-14.0f * piover180), 1e-4f);
    EXPECT_NEAR(lastLight0[1], 0.0f, 1e-6f);
    EXPECT_NEAR(lastLight0[2], 2000.0f - std::cos(-14.0f * piover180), 1e-3f);
    EXPECT_NEAR(lastLight1[2], -lastLight0[2], 1e-3f);
}

TEST_F(HudTest, WinnerWhoCaughtTheFlicketGetsOnlyTheWinningLine) {
    endWith(10, false, 150, true);
    const std::vector<std::string> expected = {"Stormwick has won the game by 140 points!",
                                               "Stormwick -- 150 points", "Emberhold -- 10 points",
                                               "Enter to Play Again -- ESC to Quit"};
    EXPECT_EQ(texts(), expected);
    expectAt(expected[0], -23.65f, 4.95f);
    expectAt(expected[1], -23.4f, -3.0f);
    expectAt(expected[2], 6.5f, -3.0f);
    expectAt(expected[3], -16.95f, -17.35f);
}

TEST_F(HudTest, WinnerWithoutTheFlicketMocksTheCatcher) {
    endWith(170, false, 150, true);
    const std::vector<std::string> expected = {"Emberhold has won the game by 20 points!",
                                               "and did it without catching the flicket!",
                                               "Foolish, flicket-catching Stormwick!",
                                               "Emberhold -- 170 points",
                                               "Stormwick -- 150 points",
                                               "Enter to Play Again -- ESC to Quit"};
    EXPECT_EQ(texts(), expected);
    expectAt(expected[1], -21.65f, 3.05f);
    expectAt(expected[2], -19.4f, 1.3f);
    expectAt(expected[3], -23.4f, -3.0f);
}

TEST_F(HudTest, EqualScoresAnnounceATieNamingTheCatcher) {
    endWith(150, false, 150, true);
    const std::vector<std::string> expected = {"A tie game! Stormwick caught the flicket.",
                                               "Emberhold -- 150 points", "Stormwick -- 150 points",
                                               "Enter to Play Again -- ESC to Quit"};
    EXPECT_EQ(texts(), expected);
    expectAt(expected[0], -23.65f, 4.95f);
    expectAt(expected[1], -23.4f, -3.0f);

    team[0]->caughtFlicket = true;
    team[1]->caughtFlicket = false;
    frame();
    EXPECT_EQ(texts()[0], "A tie game! Emberhold caught the flicket.");
}

} // namespace
} // namespace gametest
