// The play bindings' edge cases: held toggles, the Numpad 2 guards, the free camera's start pose,
// mouse look, the mouse buttons, and Escape from every state.
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

#include <algorithm>
#include <cmath>

namespace gametest {
namespace {

class BindingsTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startGame();
    }
    void play(int key = '1') {
        chooseTeam(key);
        ASSERT_EQ(gameState, STATE_PLAYING);
    }
};

TEST_F(BindingsTest, HeldTogglesFlipInEveryFrame) {
    play();
    headless::setKey(VK_TAB, true);
    headless::setKey(VK_F1, true);
    const bool expectedAfter[] = {true, false, true};
    for (bool want : expectedAfter) {
        frame();
        EXPECT_EQ(USE_LIGHTS, want);
        EXPECT_EQ(dispPos, want);
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, want);
        EXPECT_EQ(!printedStartingWith("X = ").empty(), want);
    }
    headless::setKey(VK_TAB, false);
    headless::setKey(VK_F1, false);
    frames(2);
    EXPECT_TRUE(USE_LIGHTS); // released after an odd number of frames
    EXPECT_TRUE(dispPos);
}

TEST_F(BindingsTest, BothNumbersHeldChooseTeamOneAndKeysWaitForTheSelection) {
    // Play keys do nothing on the selection screen.
    headless::setKey(VK_TAB, true);
    headless::setKey('0', true);
    frame();
    headless::releaseAllKeys();
    EXPECT_FALSE(USE_LIGHTS);
    EXPECT_EQ(view, 0);
    EXPECT_EQ(gameState, STATE_TEAM_SELECT);

    headless::setKey('1', true);
    headless::setKey('2', true);
    frame();
    headless::releaseAllKeys();
    EXPECT_EQ(view, 1);
    EXPECT_EQ(PLAYER_TEAM_ID, 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.85f);
    EXPECT_FLOAT_EQ(clear[2], 1.0f);
}

TEST_F(BindingsTest, NumpadTwoStopsTheFollowedPlayerAboveTheGround) {
    play();
    Player* p = human();
    headless::setKey(VK_NUMPAD2, true);
    float lowest = 1000.0f;
    for (int i = 0; i < 20; ++i) {
        frame();
        lowest = std::min(lowest, p->ypos);
    }
    // From 24 in steps of 1.85: the last step is allowed from 3.65 (drawn height 3.65 - 2.85 > 0)
    // and none from 1.8.
    EXPECT_NEAR(p->ypos, 24.0f - 12 * RISE_SPEED, 1e-3f);
    EXPECT_NEAR(lowest, p->ypos, 1e-6f);
    headless::setKey(VK_NUMPAD2, false);
    headless::setKey(VK_NUMPAD8, true);
    frame();
    EXPECT_NEAR(p->ypos, 24.0f - 11 * RISE_SPEED, 1e-3f);
}

TEST_F(BindingsTest, NumpadTwoKeepsTheFreeCameraBelowTheGroundPlane) {
    play();
    tap('0');
    ASSERT_EQ(view, VIEW_STANDARD);
    headless::setKey(VK_NUMPAD2, true);
    frames(4);
    EXPECT_NEAR(ytrans, -2.34f + RISE_SPEED, 1e-4f); // -0.49; one more step would reach 1.36
    headless::setKey(VK_NUMPAD2, false);
    headless::setKey(VK_NUMPAD8, true);
    frames(2);
    EXPECT_NEAR(ytrans, -2.34f - RISE_SPEED, 1e-4f);
}

TEST_F(BindingsTest, ZeroEntersTheFreeCameraAtTheStartPose) {
    play('2');
    headless::setKey(VK_PRIOR, true);
    headless::setKey('A', true);
    headless::setCursor(WIDTH_CENTER - 40, HEIGHT_CENTER + 10);
    frames(2);
    headless::releaseAllKeys();
    EXPECT_NE(pivot, 0.0f);
    EXPECT_NEAR(distBehindPlayer, 33.3f + 2 * 2.05f, 1e-4f);
    EXPECT_NE(yrot, 0.0f);

    tap('0');
    EXPECT_EQ(view, VIEW_STANDARD);
    EXPECT_EQ(pivot, 0.0f);
    EXPECT_EQ(yrot, 0.0f);
    EXPECT_EQ(xpos, 0.0f);
    EXPECT_FLOAT_EQ(ytrans, -2.34f);
    EXPECT_FLOAT_EQ(zpos, -45.0f);
    EXPECT_EQ(distBehindPlayer, 0.0f);
    EXPECT_EQ(xoffset, 0.0f);
    EXPECT_EQ(yoffset, 0.0f);
    EXPECT_EQ(zoffset, 0.0f);

    // The free camera turns with the arrows and flies along its heading; the mouse turns nothing.
    headless::setKey(VK_LEFT, true);
    headless::setCursor(WIDTH_CENTER + 100, HEIGHT_CENTER - 100);
    frame();
    headless::releaseAllKeys();
    EXPECT_FLOAT_EQ(yrot, TURN_SPEED);
    EXPECT_EQ(pivot, 0.0f);
    EXPECT_EQ(headless::cursor().x, WIDTH_CENTER);
    EXPECT_EQ(headless::cursor().y, HEIGHT_CENTER);
    headless::setKey(VK_DOWN, true);
    frame();
    headless::releaseAllKeys();
    EXPECT_NEAR(xpos, -std::sin(TURN_SPEED * piover180) * WALK_SPEED, 1e-5f);
    EXPECT_NEAR(zpos, -45.0f - std::cos(TURN_SPEED * piover180) * WALK_SPEED, 1e-4f);

    // No key returns to a team in this game; the buttons act on no team.
    const int before = team[1]->active;
    rightClick();
    leftClick();
    frame();
    EXPECT_EQ(team[1]->active, before);
    EXPECT_EQ(view, VIEW_STANDARD);
}

TEST_F(BindingsTest, MouseLookTurnsAndPitchesTheFollowedPlayer) {
    play();
    Player* p = human();
    const float yrot0 = p->yrot;
    headless::setCursor(WIDTH_CENTER - 50, HEIGHT_CENTER + 25);
    frame();
    EXPECT_NEAR(p->yrot, yrot0 + 6.0f, 1e-4f);
    EXPECT_NEAR(p->xrot, 3.0f, 1e-4f);
    EXPECT_FLOAT_EQ(pivot, p->xrot);
    EXPECT_EQ(headless::cursor().x, WIDTH_CENTER);
    EXPECT_EQ(headless::cursor().y, HEIGHT_CENTER);
    EXPECT_NEAR(yrot, 360.0f - p->yrot, 1e-4f); // the chase camera takes the player's heading
    frame();
    EXPECT_NEAR(p->yrot, yrot0 + 6.0f, 1e-4f); // a centred cursor turns nothing
}

TEST_F(BindingsTest, ArrowsAndPageKeysMoveTheFollowedPlayerAndPitchTheCamera) {
    play(); // team 0's Chaser at (-2.5, 24, 30.2), heading 0 (faces -z)
    Player* p = human();
    headless::setKey(VK_LEFT, true);
    frame();
    headless::releaseAllKeys();
    EXPECT_NEAR(p->xpos, -2.5f - WALK_SPEED, 1e-4f);
    headless::setKey(VK_RIGHT, true);
    headless::setKey(VK_UP, true);
    frame();
    headless::releaseAllKeys();
    EXPECT_NEAR(p->xpos, -2.5f, 1e-4f);
    EXPECT_NEAR(p->zpos, 30.2f - WALK_SPEED, 1e-4f);
    headless::setKey(VK_DOWN, true);
    headless::setKey('S', true);
    frame();
    headless::releaseAllKeys();
    EXPECT_NEAR(p->zpos, 30.2f, 1e-4f);
    EXPECT_NEAR(distBehindPlayer, 33.3f - 2.05f, 1e-4f);
    // Page keys pitch the camera, but mouse look then copies the player's pitch into it.
    headless::setKey(VK_NEXT, true);
    frame();
    headless::releaseAllKeys();
    EXPECT_EQ(pivot, p->xrot);
}

TEST_F(BindingsTest, ButtonsCatchWithTheFollowedPlayerAndSwitchPlayers) {
    play('2');
    Player* chaser = team[1]->getChaser();
    // Let the Pellum fall to the floor, then fly the Chaser within reach of it.
    frames(70);
    float bx, by, bz;
    pellum->getPos(bx, by, bz);
    ASSERT_NEAR(by, 0.6f, 1e-4f);
    chaser->xpos = bx + 4.0f;
    chaser->ypos = 1.5f;
    chaser->zpos = bz - 4.0f;
    leftClick();
    EXPECT_TRUE(pellum->caught);
    EXPECT_EQ(pellum->holding, 1);
    EXPECT_TRUE(team[1]->isHoldingPellum());
    frame();
    EXPECT_TRUE(printed("Stormwick is in possesion of the Pellum!"));
    leftClick(); // a second click by the holder lets go
    EXPECT_FALSE(pellum->caught);

    rightClick();
    EXPECT_EQ(human(), team[1]->player[1]);
    EXPECT_EQ(chaser->yrot, 0.0f);
    rightClick();
    EXPECT_EQ(human(), chaser);
}

TEST_F(BindingsTest, CatchAttemptsActOnlyInPlay) {
    // On the selection screen a click leaves the balls alone.
    Player* seeker = team[0]->player[1];
    float fx, fy, fz;
    flicket->getPos(fx, fy, fz);
    team[0]->changeActive();
    seeker->xpos = fx;
    seeker->ypos = fy - 3.0f;
    seeker->zpos = fz;
    leftClick();
    EXPECT_EQ(gameState, STATE_TEAM_SELECT);
    EXPECT_EQ(team[0]->getScore(), 0);

    // In play the same click catches, and clicks after that add nothing.
    gameState = STATE_PLAYING;
    leftClick();
    EXPECT_EQ(gameState, STATE_GAME_ENDING);
    EXPECT_EQ(team[0]->getScore(), 150);
    leftClick();
    EXPECT_EQ(team[0]->getScore(), 150);
    frame();
    EXPECT_EQ(gameState, STATE_GAME_OVER);
    for (int i = 0; i < 3; ++i) {
        leftClick();
        frame();
    }
    EXPECT_EQ(team[0]->getScore(), 150);
    EXPECT_TRUE(printed("Emberhold has won the game by 150 points!"));
}

class EscapeTest : public BindingsTest {
  protected:
    // Escape ends the program through the quit message, after the frame has been drawn.
    void escapeFrame() {
        headless::setKey(VK_ESCAPE, true);
        frame();
        headless::setKey(VK_ESCAPE, false);
        EXPECT_TRUE(quitPosted());
        EXPECT_FALSE(active);
        active = true;
    }
};

TEST_F(EscapeTest, EndsTheProgramFromEveryState) {
    escapeFrame();
    EXPECT_EQ(gameState, STATE_TEAM_SELECT);
    EXPECT_TRUE(printed("2 - Stormwick"));

    play();
    escapeFrame();
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_TRUE(printed("No one is holding the Pellum"));

    team[0]->catchFlicket();
    gameState = STATE_GAME_ENDING;
    escapeFrame();
    EXPECT_EQ(gameState, STATE_GAME_OVER);

    escapeFrame();
    EXPECT_TRUE(printed("Enter to Play Again -- ESC to Quit"));
    EXPECT_FALSE(quitPosted()); // nothing more than one quit per press
}

} // namespace
} // namespace gametest
