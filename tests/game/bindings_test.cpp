// The play bindings: keys, height guards, mouse look, buttons, team choice, Escape and pads.
#include "support/gamesession.h"
#include "support/padscript.h"

#include "cball/cball.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "shared/globals.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

namespace {

using hwtest::GameSession;
using hwtest::human;

class Play : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.ok());
        game.start();
    }
    GameSession game;
};

// What one frame with a key held changes: a camera value, or (with no camera value) a coordinate
// of the followed player, team 0's Chaser. The free camera is entered afresh, at its start pose.
TEST_F(Play, EachKeyHeldOneFrameMovesByOneStep) {
    const struct {
        int key;
        bool freeCamera;
        float* camera;
        float Player::*coordinate;
        float change;
    } bindings[] = {{VK_LEFT, false, nullptr, &Player::xpos, -2.05f},
                    {VK_RIGHT, false, nullptr, &Player::xpos, 2.05f},
                    {VK_UP, false, nullptr, &Player::zpos, -2.05f},
                    {VK_DOWN, false, nullptr, &Player::zpos, 2.05f},
                    {VK_NUMPAD8, false, nullptr, &Player::ypos, 1.85f},
                    {VK_NUMPAD2, false, nullptr, &Player::ypos, -1.85f},
                    {'A', false, &distBehindPlayer, nullptr, 2.05f},
                    {'S', false, &distBehindPlayer, nullptr, -2.05f},
                    {VK_LEFT, true, &yrot, nullptr, 3.5f},
                    {VK_RIGHT, true, &yrot, nullptr, -3.5f},
                    {VK_UP, true, &zpos, nullptr, 2.05f},
                    {VK_UP, true, &xpos, nullptr, 0.0f},
                    {VK_DOWN, true, &zpos, nullptr, -2.05f},
                    {VK_NUMPAD8, true, &ytrans, nullptr, -1.85f},
                    {VK_NUMPAD2, true, &ytrans, nullptr, 1.85f},
                    {VK_PRIOR, true, &pivot, nullptr, -3.5f},
                    {VK_NEXT, true, &pivot, nullptr, 3.5f}};
    for (const auto& b : bindings) {
        game.tap(b.freeCamera ? '0' : '1');
        ASSERT_EQ(view, b.freeCamera ? VIEW_STANDARD : 0);
        auto read = [&] { return b.camera != nullptr ? *b.camera : human()->*b.coordinate; };
        const float before = read();
        game.tap(b.key);
        EXPECT_NEAR(read() - before, b.change, 1e-4f)
            << "key " << b.key << " row " << &b - bindings;
    }
}

TEST_F(Play, BothNumbersHeldChooseTeamTwoAndPlayKeysWaitForTheSelection) {
    headless::setKey(VK_TAB, true);
    headless::setKey('0', true);
    game.frame();
    headless::releaseAllKeys();
    EXPECT_FALSE(USE_LIGHTS || view != 0); // play keys wait for the selection
    headless::setKey('1', true);
    headless::setKey('2', true);
    game.frame();
    headless::releaseAllKeys();
    EXPECT_TRUE(gameState == STATE_PLAYING && view == 1 && PLAYER_TEAM_ID == 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Play, SinkingStopsAboveTheGroundFollowingAndBelowItFree) {
    game.tap('1');
    Player* p = human();
    headless::setKey(VK_NUMPAD2, true);
    game.frames(20);
    // From 24 in steps of 1.85: the last allowed from 3.65 (3.65 - 2.85 > 0), none from 1.8.
    EXPECT_NEAR(p->ypos, 24.0f - 12 * 1.85f, 1e-3f);
    headless::setKey(VK_NUMPAD2, false);
    p->ypos = 2.5f; // drawn there, it may not sink: 2.5 - 1.85 is less than one above ground
    game.frame();
    game.tap(VK_NUMPAD2);
    EXPECT_EQ(p->ypos, 2.5f);
    game.tap('0');
    headless::setKey(VK_NUMPAD2, true);
    game.frames(4);
    EXPECT_NEAR(ytrans, -2.34f + 1.85f, 1e-4f); // one more step would pass the ground plane
    headless::setKey(VK_NUMPAD2, false);
    ytrans = -1.85f; // a step would end on the ground plane itself: none
    game.tap(VK_NUMPAD2);
    EXPECT_EQ(ytrans, -1.85f);
}

TEST_F(Play, ZeroEntersTheFreeCameraAtTheStartPoseWhereTheMouseTurnsNothing) {
    game.tap('2');
    headless::setKey(VK_PRIOR, true);
    headless::setCursor(320 - 40, 240 + 10);
    game.frames(2);
    headless::releaseAllKeys();
    EXPECT_TRUE(pivot != 0.0f && yrot != 0.0f);
    game.tap('0');
    EXPECT_EQ(
        (std::vector<float>{pivot, yrot, xpos, ytrans, zpos, distBehindPlayer, xoffset, zoffset}),
        (std::vector<float>{0.0f, 0.0f, 0.0f, -2.34f, -45.0f, 0.0f, 0.0f, 0.0f}));
    headless::setCursor(320 + 100, 240 - 100);
    game.frame();
    EXPECT_TRUE(yrot == 0.0f && pivot == 0.0f);
    EXPECT_EQ(headless::cursor().x, 320);
    const int before = team[1]->active;
    game.rightClick(); // the buttons act on no team
    EXPECT_EQ(team[1]->active, before);
}

TEST_F(Play, MouseLookTurnsAndPitchesTheFollowedPlayerAndTheCameraFollows) {
    game.tap('1');
    Player* p = human();
    const float yrot0 = p->yrot;
    headless::setCursor(320 - 50, 240 + 25);
    game.frame();
    EXPECT_NEAR(p->yrot, yrot0 + 6.0f, 1e-4f);
    EXPECT_NEAR(p->xrot, 3.0f, 1e-4f);
    EXPECT_FLOAT_EQ(pivot, p->xrot);
    EXPECT_EQ(headless::cursor().y, 240);
    EXPECT_NEAR(yrot, 360.0f - p->yrot, 1e-4f);
    game.frame();
    EXPECT_NEAR(p->yrot, yrot0 + 6.0f, 1e-4f); // a centred cursor turns nothing
}

TEST_F(Play, ButtonsCatchWithTheFollowedPlayerOnlyInPlayAndSwitchPlayers) {
    Player* chaser = team[1]->getChaser();
    chaser->xpos = pellum->xpos;
    chaser->ypos = pellum->ypos - 3.0f;
    chaser->zpos = pellum->zpos;
    team[1]->active = 0;
    view = 1;
    game.leftClick(); // the selection screen: nothing
    EXPECT_FALSE(pellum->caught);
    gameState = STATE_PLAYING;
    game.leftClick();
    EXPECT_TRUE(pellum->caught && pellum->holding == 1 && team[1]->isHoldingPellum());
    game.leftClick(); // a second click by the holder lets go
    EXPECT_FALSE(pellum->caught || team[1]->isHoldingPellum());
    chaser->yrot = 30.0f;
    game.rightClick();
    EXPECT_TRUE(human() == team[1]->player[1] && chaser->yrot == 0.0f);
    game.rightClick();
    EXPECT_EQ(human(), chaser);
}

TEST_F(Play, EscapeEndsTheProgramFromEveryStateAfterDrawingTheFrame) {
    auto escape = [&](const char* drawn) {
        game.tap(VK_ESCAPE);
        EXPECT_TRUE(game.quitPosted() && !active && game.printed(drawn)) << drawn;
        active = true;
    };
    escape("2 - Stormwick");
    game.tap('1');
    escape("No one is holding the Pellum");
    team[0]->catchFlicket();
    gameState = STATE_GAME_ENDING;
    game.frame();
    escape("Enter to Play Again -- ESC to Quit");
    EXPECT_FALSE(game.quitPosted()); // one quit per press
}

// The SDL test's pad session through the headless twin, its clock at 17 ms a frame: Back held
// quits once a second has passed, in the 60th frame.
void headlessPads(int frame, padscript::Device device, const pad::State& pads) {
    headless::setTickCount(static_cast<uint32_t>(frame) * 17);
    headless::setPad(device == padscript::NONE ? pad::State{} : pads);
}

TEST(Pads, SessionThroughTheHeadlessTwin) {
    testdata::WorkingDir inData(hwtest::dataDir());
    headless::reset();
    headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER);
    const padscript::Result played = padscript::run(headlessPads);
    headless::reset();
    EXPECT_EQ(played.failures, std::vector<std::string>());
    EXPECT_EQ(played.backFrames, 60);
}

} // namespace
