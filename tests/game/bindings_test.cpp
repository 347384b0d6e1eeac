// The play bindings: what each key does to the followed player or the free camera, held toggles,
// the height guards, mouse look, the buttons, the selection keys and Escape from every state.
#include "support/gamesession.h"

#include "cball/cball.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "shared/globals.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

namespace {

using hwtest::GameSession;
using hwtest::human;

// What a key may change, read before and after one frame with the key held: a camera value, or
// (with no camera value) a coordinate of the followed player.
struct Binding {
    const char* name;
    int key;
    bool freeCamera;
    float* camera;
    float Player::*coordinate;
    float change; // per frame held
};

float read(const Binding& b) {
    return b.camera != nullptr ? *b.camera : human()->*b.coordinate;
}

void PrintTo(const Binding& b, std::ostream* os) {
    *os << b.name;
}

class Bindings : public ::testing::TestWithParam<Binding> {};

// Team 0's Chaser starts at heading 0 (facing -z) at height 24; the free camera at its start pose.
TEST_P(Bindings, OneFrameHeldMovesByOneStep) {
    const Binding& b = GetParam();
    GameSession game;
    ASSERT_TRUE(game.ok());
    game.start();
    game.tap('1');
    if (b.freeCamera) {
        game.tap('0');
        ASSERT_EQ(view, VIEW_STANDARD);
    }
    const float before = read(b);
    game.tap(b.key);
    EXPECT_NEAR(read(b) - before, b.change, 1e-4f) << b.name;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Bindings,
    ::testing::Values(Binding{"left", VK_LEFT, false, nullptr, &Player::xpos, -WALK_SPEED},
                      Binding{"right", VK_RIGHT, false, nullptr, &Player::xpos, WALK_SPEED},
                      Binding{"up", VK_UP, false, nullptr, &Player::zpos, -WALK_SPEED},
                      Binding{"down", VK_DOWN, false, nullptr, &Player::zpos, WALK_SPEED},
                      Binding{"rise", VK_NUMPAD8, false, nullptr, &Player::ypos, RISE_SPEED},
                      Binding{"sink", VK_NUMPAD2, false, nullptr, &Player::ypos, -RISE_SPEED},
                      Binding{"back off", 'A', false, &distBehindPlayer, nullptr, 2.05f},
                      Binding{"close in", 'S', false, &distBehindPlayer, nullptr, -2.05f},
                      Binding{"free left", VK_LEFT, true, &yrot, nullptr, TURN_SPEED},
                      Binding{"free right", VK_RIGHT, true, &yrot, nullptr, -TURN_SPEED},
                      Binding{"free up", VK_UP, true, &zpos, nullptr, WALK_SPEED},
                      Binding{"free up sideways", VK_UP, true, &xpos, nullptr, 0.0f},
                      Binding{"free down", VK_DOWN, true, &zpos, nullptr, -WALK_SPEED},
                      Binding{"free rise", VK_NUMPAD8, true, &ytrans, nullptr, -RISE_SPEED},
                      Binding{"free sink", VK_NUMPAD2, true, &ytrans, nullptr, RISE_SPEED},
                      Binding{"page up", VK_PRIOR, true, &pivot, nullptr, -TURN_SPEED},
                      Binding{"page down", VK_NEXT, true, &pivot, nullptr, TURN_SPEED}),
    [](const ::testing::TestParamInfo<Binding>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            c = c == ' ' ? '_' : c;
        }
        return name;
    });

class Play : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.ok());
        game.start();
    }
    GameSession game;
};

TEST_F(Play, BothNumbersHeldChooseTeamTwoAndPlayKeysWaitForTheSelection) {
    headless::setKey(VK_TAB, true);
    headless::setKey('0', true);
    game.frame();
    headless::releaseAllKeys();
    EXPECT_FALSE(USE_LIGHTS);
    EXPECT_EQ(view, 0);
    headless::setKey('1', true);
    headless::setKey('2', true);
    game.frame();
    headless::releaseAllKeys();
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(view, 1);
    EXPECT_EQ(PLAYER_TEAM_ID, 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Play, HeldTogglesFlipInEveryFrame) {
    game.tap('1');
    headless::setKey(VK_TAB, true);
    headless::setKey(VK_F1, true);
    for (bool want : {true, false, true}) {
        game.frame();
        EXPECT_EQ(USE_LIGHTS, want);
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, want);
        EXPECT_EQ(!game.printedStartingWith("X = ").empty(), want);
    }
}

TEST_F(Play, SinkingStopsAboveTheGroundFollowingAndBelowItFree) {
    game.tap('1');
    Player* p = human();
    headless::setKey(VK_NUMPAD2, true);
    game.frames(20);
    // From 24 in steps of 1.85: the last allowed from 3.65 (3.65 - 2.85 > 0), none from 1.8.
    EXPECT_NEAR(p->ypos, 24.0f - 12 * RISE_SPEED, 1e-3f);
    headless::setKey(VK_NUMPAD2, false);
    p->ypos = 2.5f; // drawn there, it may not sink: 2.5 - 1.85 is less than one above ground
    game.frame();
    game.tap(VK_NUMPAD2);
    EXPECT_EQ(p->ypos, 2.5f);
    game.tap('0');
    headless::setKey(VK_NUMPAD2, true);
    game.frames(4);
    EXPECT_NEAR(ytrans, -2.34f + RISE_SPEED, 1e-4f); // one more step would pass the ground plane
}

TEST_F(Play, ZeroEntersTheFreeCameraAtTheStartPoseWhereTheMouseTurnsNothing) {
    game.tap('2');
    headless::setKey(VK_PRIOR, true);
    headless::setCursor(WIDTH_CENTER - 40, HEIGHT_CENTER + 10);
    game.frames(2);
    headless::releaseAllKeys();
    EXPECT_NE(pivot, 0.0f);
    EXPECT_NE(yrot, 0.0f);
    game.tap('0');
    EXPECT_EQ(view, VIEW_STANDARD);
    const float pose[] = {pivot, yrot, xpos, ytrans, zpos, distBehindPlayer, xoffset, zoffset};
    const float start[] = {0.0f, 0.0f, 0.0f, -2.34f, -45.0f, 0.0f, 0.0f, 0.0f};
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(pose[i], start[i]) << i;
    }
    headless::setCursor(WIDTH_CENTER + 100, HEIGHT_CENTER - 100);
    game.frame();
    EXPECT_EQ(yrot, 0.0f);
    EXPECT_EQ(pivot, 0.0f);
    EXPECT_EQ(headless::cursor().x, WIDTH_CENTER);
    const int before = team[1]->active;
    game.rightClick(); // the buttons act on no team
    EXPECT_EQ(team[1]->active, before);
}

TEST_F(Play, MouseLookTurnsAndPitchesTheFollowedPlayerAndTheCameraFollows) {
    game.tap('1');
    Player* p = human();
    const float yrot0 = p->yrot;
    headless::setCursor(WIDTH_CENTER - 50, HEIGHT_CENTER + 25);
    game.frame();
    EXPECT_NEAR(p->yrot, yrot0 + 6.0f, 1e-4f);
    EXPECT_NEAR(p->xrot, 3.0f, 1e-4f);
    EXPECT_FLOAT_EQ(pivot, p->xrot);
    EXPECT_EQ(headless::cursor().y, HEIGHT_CENTER);
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
    EXPECT_TRUE(pellum->caught);
    EXPECT_EQ(pellum->holding, 1);
    EXPECT_TRUE(team[1]->isHoldingPellum());
    game.leftClick(); // a second click by the holder lets go
    EXPECT_FALSE(pellum->caught);
    EXPECT_FALSE(team[1]->isHoldingPellum());
    chaser->yrot = 30.0f;
    game.rightClick();
    EXPECT_EQ(human(), team[1]->player[1]);
    EXPECT_EQ(chaser->yrot, 0.0f);
    game.rightClick();
    EXPECT_EQ(human(), chaser);
}

TEST_F(Play, EscapeEndsTheProgramFromEveryStateAfterDrawingTheFrame) {
    auto escape = [&](const char* drawn) {
        headless::setKey(VK_ESCAPE, true);
        game.frame();
        headless::setKey(VK_ESCAPE, false);
        EXPECT_TRUE(game.quitPosted()) << drawn;
        EXPECT_FALSE(active);
        EXPECT_TRUE(game.printed(drawn)) << drawn;
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

} // namespace
