// Whole games driven through the real bindings: a human Seeker's catch with the game-over screen
// and a second game, and a game that a computer Seeker ends on its own.
#include "game/gamefixture.h"

#include "cball/cball.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "player/player.h"
#include "shared/globals.h"
#include "team/team.h"

#include <GL/gl.h>

#include <cmath>

namespace gametest {
namespace {

constexpr float kPi = 3.14159265f;

class FlowTest : public GameTest {
  protected:
    // One frame of steering the followed player towards the Flicket with the play keys and the
    // mouse, clicking the left button before it as a player hunting the ball would.
    void chaseFlicket() {
        Player* p = human();
        float fx, fy, fz, px, py, pz;
        flicket->getPos(fx, fy, fz);
        p->getPos(px, py, pz);
        const float dx = fx - px;
        const float dz = fz - pz;
        // moveForward goes along (-sin(yrot), -cos(yrot)).
        float want = std::atan2(-dx, -dz) * 180.0f / kPi;
        float turn = std::fmod(want - p->yrot, 360.0f);
        if (turn > 180.0f) {
            turn -= 360.0f;
        } else if (turn < -180.0f) {
            turn += 360.0f;
        }
        // 0.12 degree per pixel to the left of the centre.
        const int pixels = static_cast<int>(std::lround(turn / 0.12f));
        headless::setCursor(WIDTH_CENTER - pixels, HEIGHT_CENTER);
        headless::setKey(VK_UP, std::sqrt(dx * dx + dz * dz) > 2.0f);
        const float dy = fy - (py + 3.0f);
        headless::setKey(VK_NUMPAD8, dy > 1.0f);
        headless::setKey(VK_NUMPAD2, dy < -1.0f);
        leftClick();
        frame();
    }

    void releaseFlightKeys() {
        for (int key : {VK_UP, VK_NUMPAD8, VK_NUMPAD2}) {
            headless::setKey(key, false);
        }
        headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER);
    }
};

TEST_F(FlowTest, HumanSeekerCatchesTheFlicketThenASecondGameStarts) {
    startGame(7);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    frame();
    EXPECT_TRUE(printed("Press the Number of the Team You Wish to Play For"));
    EXPECT_TRUE(printed("1 - Emberhold"));
    EXPECT_TRUE(printed("2 - Stormwick"));

    // Both numbers held: the second test wins.
    headless::setKey('1', true);
    headless::setKey('2', true);
    frame();
    headless::setKey('1', false);
    headless::setKey('2', false);
    ASSERT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(view, 1);
    EXPECT_EQ(PLAYER_TEAM_ID, 1);
    EXPECT_TRUE(printed("Chaser currently in view      Score = 0 pts"));
    EXPECT_TRUE(printed("No one is holding the Pellum"));

    // Fly the Chaser: forward and up move it from its start place.
    float x0, y0, z0;
    team[1]->getChaser()->getPos(x0, y0, z0);
    headless::setKey(VK_UP, true);
    headless::setKey(VK_NUMPAD8, true);
    frames(2);
    releaseFlightKeys();
    float x1, y1, z1;
    team[1]->getChaser()->getPos(x1, y1, z1);
    EXPECT_NEAR(z1, z0 + 2 * WALK_SPEED, 1e-3f); // built at z < 0, heading 180: towards +z
    EXPECT_NEAR(y1, y0 + 2 * RISE_SPEED, 1e-3f);

    tap(VK_TAB);
    EXPECT_TRUE(USE_LIGHTS);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    rightClick();
    frame();
    ASSERT_EQ(human(), team[1]->player[1]);
    EXPECT_TRUE(printed("Seeker currently in view      Score = 0 pts"));

    int steps = 0;
    while (gameState == STATE_PLAYING && steps < 3000) {
        chaseFlicket();
        ++steps;
    }
    releaseFlightKeys();
    ASSERT_NE(gameState, STATE_PLAYING) << "no catch within " << steps << " frames";
    // The catching frame ends in the one-frame ending state or already on the game-over screen.
    EXPECT_TRUE(team[1]->flicketCaught());
    EXPECT_FALSE(team[0]->flicketCaught());
    EXPECT_EQ(team[1]->getScore(), 150);

    frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    const std::vector<std::string> expected = {"Stormwick has won the game by 150 points!",
                                               "Stormwick -- 150 points", "Emberhold -- 0 points",
                                               "Enter to Play Again -- ESC to Quit"};
    EXPECT_EQ(texts(), expected);

    // Clicks on the game-over screen, with the Seeker still beside the Flicket, change nothing.
    for (int i = 0; i < 3; ++i) {
        leftClick();
        frame();
    }
    EXPECT_EQ(team[1]->getScore(), 150);
    EXPECT_EQ(gameState, STATE_GAME_OVER);
    EXPECT_EQ(texts(), expected);

    headless::setKey(VK_RETURN, true);
    frame();
    headless::setKey(VK_RETURN, false);
    EXPECT_EQ(gameState, STATE_TEAM_SELECT);
    EXPECT_TRUE(printed("Press the Number of the Team You Wish to Play For"));
    EXPECT_EQ(team[0]->getScore(), 0);
    EXPECT_EQ(team[1]->getScore(), 0);
    EXPECT_FALSE(team[1]->flicketCaught());
    EXPECT_NE(music, nullptr);
    // The camera and view globals carried over into the new game.
    EXPECT_EQ(view, 1);
    EXPECT_TRUE(USE_LIGHTS);

    // Second game: team 0, then the free camera.
    chooseTeam('1');
    ASSERT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(view, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)); // lights stay wanted across the restart
    tap('0');
    EXPECT_EQ(view, VIEW_STANDARD);
    EXPECT_TRUE(printed("No one is holding the Pellum"));
    EXPECT_EQ(printedStartingWith("Chaser currently"), "");
    EXPECT_EQ(printedStartingWith("Seeker currently"), "");
    headless::setKey(VK_UP, true);
    frames(3);
    headless::setKey(VK_UP, false);
    EXPECT_NEAR(zpos, -45.0f + 3 * WALK_SPEED, 1e-3f);

    headless::setKey(VK_ESCAPE, true);
    frame();
    EXPECT_TRUE(quitPosted());
    EXPECT_FALSE(active);
}

TEST_F(FlowTest, AComputerSeekerEndsTheGameOnItsOwn) {
    startGame(1234);
    chooseTeam('1');
    ASSERT_EQ(gameState, STATE_PLAYING);
    int steps = 0;
    while (gameState == STATE_PLAYING && steps < 5000) {
        frame();
        ++steps;
    }
    ASSERT_NE(gameState, STATE_PLAYING) << "nobody caught the Flicket in " << steps << " frames";
    // The human never clicked, so the catcher is a computer Seeker: either side's Seeker, since
    // the human flies team 0's Chaser.
    const int catcher = team[0]->flicketCaught() ? 0 : 1;
    ASSERT_TRUE(team[catcher]->flicketCaught());
    EXPECT_FALSE(team[1 - catcher]->flicketCaught());
    EXPECT_EQ(team[catcher]->getScore(), 150);
    EXPECT_EQ(human(), team[0]->getChaser());

    frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    const char* winner = team[catcher]->name();
    const char* loser = team[1 - catcher]->name();
    EXPECT_TRUE(printed(std::string(winner) + " has won the game by 150 points!"));
    EXPECT_TRUE(printed(std::string(winner) + " -- 150 points"));
    EXPECT_TRUE(printed(std::string(loser) + " -- 0 points"));
    EXPECT_EQ(printedStartingWith("and did it"), "");
}

} // namespace
} // namespace gametest
