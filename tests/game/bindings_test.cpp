// The play bindings (keys, mouse, buttons, team choice, Escape, pads); scripted games hashed.
#include "support/gamesession.h"
#include "support/padscript.h"

#include "main/worlddigest.h"
#include "shared/random.h"
#include "shared/steadymath.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {

using hwtest::GameSession;
using hwtest::human;
using hwtest::standUnder;

struct Play : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(game.start()); }
    GameSession game;
};

// One frame with a key held moves a camera value, or else team 0's Chaser; free camera afresh.
TEST_F(Play, EachKeyHeldOneFrameMovesByOneStep) {
    const struct {
        int key, opposite; // the opposite key moves as far the other way
        bool freeCamera;
        float* camera;
        float Player::*coordinate;
        float change;
    } bindings[] = {{VK_LEFT, VK_RIGHT, false, nullptr, &Player::xpos, -2.05f},
                    {VK_UP, VK_DOWN, false, nullptr, &Player::zpos, -2.05f},
                    {VK_NUMPAD8, VK_NUMPAD2, false, nullptr, &Player::ypos, 1.85f},
                    {'A', 'S', false, &distBehindPlayer, nullptr, 2.05f},
                    {VK_LEFT, VK_RIGHT, true, &yrot, nullptr, 3.5f},
                    {VK_UP, VK_DOWN, true, &zpos, nullptr, 2.05f},
                    {VK_UP, VK_DOWN, true, &xpos, nullptr, 0.0f},
                    {VK_NUMPAD8, VK_NUMPAD2, true, &ytrans, nullptr, -1.85f},
                    {VK_PRIOR, VK_NEXT, true, &pivot, nullptr, -3.5f}};
    for (const auto& b : bindings) {
        for (int sign : {1, -1}) {
            game.tap(b.freeCamera ? '0' : '1');
            ASSERT_EQ(view, b.freeCamera ? VIEW_STANDARD : 0);
            auto read = [&] { return b.camera != nullptr ? *b.camera : human()->*b.coordinate; };
            const float before = read();
            game.tap(sign > 0 ? b.key : b.opposite);
            EXPECT_NEAR(read() - before, sign * b.change, 1e-4f) << "row " << &b - bindings;
        }
    }
}

TEST_F(Play, BothNumbersHeldChooseTeamTwoAndPlayKeysWaitForTheSelection) {
    game.hold({VK_TAB, '0'});
    EXPECT_FALSE(USE_LIGHTS || view != 0); // play keys wait for the selection
    game.hold({'1', '2'});
    EXPECT_TRUE(gameState == STATE_PLAYING && view == 1 && PLAYER_TEAM_ID == 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Play, SinkingStopsAboveTheGroundFollowingAndBelowItFree) {
    game.tap('1');
    Player* p = human();
    game.hold({VK_NUMPAD2}, 20);
    // From 24 in steps of 1.85: the last allowed from 3.65 (3.65 - 2.85 > 0), none from 1.8.
    EXPECT_NEAR(p->ypos, 24.0f - 12 * 1.85f, 1e-3f);
    p->ypos = 2.5f; // drawn there, it may not sink: 2.5 - 1.85 is less than one above ground
    game.frame();
    game.tap(VK_NUMPAD2);
    EXPECT_EQ(p->ypos, 2.5f);
    game.tap('0');
    game.hold({VK_NUMPAD2}, 4);
    EXPECT_NEAR(ytrans, -2.34f + 1.85f, 1e-4f); // one more step would pass the ground plane

    ytrans = -1.85f; // a step would end on the ground plane itself: none
    game.tap(VK_NUMPAD2);
    EXPECT_EQ(ytrans, -1.85f);
}

TEST_F(Play, ZeroEntersTheFreeCameraAtTheStartPoseWhereTheMouseTurnsNothing) {
    game.tap('2');
    headless::setCursor(320 - 40, 240 + 10);
    game.hold({VK_PRIOR}, 2);
    EXPECT_TRUE(pivot != 0.0f && yrot != 0.0f);
    game.tap('0');
    EXPECT_EQ(
        (std::vector<float>{pivot, yrot, xpos, ytrans, zpos, distBehindPlayer, xoffset, zoffset}),
        (std::vector<float>{0.0f, 0.0f, 0.0f, -2.34f, -45.0f, 0.0f, 0.0f, 0.0f}));
    headless::setCursor(320 + 100, 240 - 100);
    game.frame();
    EXPECT_TRUE(yrot == 0.0f && pivot == 0.0f && headless::cursor().x == 320);
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
    team[1]->active = 0;
    view = 1;
    standUnder(pellum);
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

// The pad session through the headless twin at 17 ms a frame: Back held quits in the 60th frame.
void headlessPads(int frame, padscript::Device device, const pad::State& pads) {
    headless::setTickCount(static_cast<uint32_t>(frame) * 17);
    pad::State held = device == padscript::NONE ? pad::State{} : pads;
    if (device == padscript::PLAIN) // what a plain joystick's axes past the sticks would mean
        held.axis[pad::AXIS_LEFT_TRIGGER] = held.axis[pad::AXIS_RIGHT_TRIGGER] = 0;
    headless::setPad(held);
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

// The camera and offsets live beside the world; they are folded in with each frame's digest.
uint64_t frameDigest(uint64_t chain) {
    auto fold = [&](uint64_t v) {
        for (int b = 0; b < 8; ++b)
            chain = (chain ^ ((v >> (8 * b)) & 0xffu)) * 0x100000001b3ULL;
    };
    fold(worldDigest());
    for (float value :
         {yrot, pivot, xpos, ytrans, zpos, distBehindPlayer, xoffset, yoffset, zoffset}) {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        fold(bits);
    }
    return chain;
}

// A frame of steering: some keys held and the mouse off centre, varying with the count.
void steer(GameSession& game, int i) {
    headless::setKey(VK_UP, i % 4 != 0);
    headless::setKey(VK_LEFT, (i / 30) % 3 == 1);
    headless::setKey(VK_NUMPAD8, i % 50 < 4);
    headless::setKey(VK_NUMPAD2, i % 50 == 30);
    headless::setCursor(WIDTH_CENTER + (i % 40 < 20 ? 9 : -11),
                        HEIGHT_CENTER + (i % 60 < 4 ? 6 : 0));
    game.frame();
    headless::releaseAllKeys();
    headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER);
}

// Per seed and side: the chain after the goal, the catch, the restart and the end.
struct Script {
    uint32_t ticks;
    int teamKey;
    uint64_t expected[4];
} const kScripts[] = {
    {4242, '1', {0x3c5c5b809c5c92d0, 0x6da3e64c65b645b2, 0xfef25ab8a428ed45, 0x60ee008b462b5344}},
    {4242, '2', {0x2320ba24eb70ea5b, 0x5815a2d3935aa201, 0x73863ec58431853d, 0x7cb072f53bee20a4}},
    {2026, '2', {0xda1300a6a7c6dc18, 0x0411c00113dbc953, 0xd4699fa00c745c96, 0x0cf9fd21966f08be}},
    {99990, '1', {0x216f51ed887cbbfa, 0xa32e1fd92b86055b, 0xb7f51d2f6f816efc, 0x30297b6068526063}},
};

TEST(GameDigest, ScriptedGamesRunFrameForFrameAsRecorded) {
    for (const Script& s : kScripts) {
        SCOPED_TRACE(std::to_string(s.ticks) + " " + static_cast<char>(s.teamKey));
        GameSession game;
        ASSERT_TRUE(game.start(s.ticks));
        uint64_t chain = 0xcbf29ce484222325ULL;
        game.afterFrame = [&] { chain = frameDigest(chain); };
        auto checkpoint = [&](int k) {
            EXPECT_EQ(chain, s.expected[k]) << "checkpoint " << k << ": 0x" << std::hex << chain;
        };
        game.frames(2);
        game.tap(s.teamKey);
        ASSERT_EQ(gameState, STATE_PLAYING);
        Team* side = team[view];
        for (int i = 0; i < 60; ++i)
            steer(game, i);
        // The Chaser takes the Pellum and is carried into a hoop's box: one goal.
        standUnder(pellum);
        game.leftClick();
        game.frame();
        ASSERT_TRUE(pellum->caught);
        const GoalPost* hoop = stadium->goal[3];
        Player* c = hwtest::human();
        std::tie(c->xpos, c->ypos, c->zpos) = std::make_tuple(hoop->X, hoop->Y, hoop->Z + 0.5f);
        game.frames(3);
        EXPECT_EQ(side->score, 10);
        checkpoint(0);
        // Play on with the Seeker, then catch the Flicket.
        game.rightClick();
        for (int i = 60; i < 150; ++i)
            steer(game, i);
        ASSERT_EQ(gameState, STATE_PLAYING);
        standUnder(flicket);
        game.leftClick();
        game.frames(3);
        EXPECT_TRUE(gameState == STATE_GAME_OVER && side->caughtFlicket);
        checkpoint(1);
        // A new game from the game-over screen, played by the other side.
        game.tap(VK_RETURN);
        ASSERT_EQ(gameState, STATE_TEAM_SELECT);
        game.tap(s.teamKey == '1' ? '2' : '1');
        checkpoint(2);
        for (int i = 0; i < 120; ++i)
            steer(game, i * 7);
        checkpoint(3);
    }
}

// What the digests rest on: the generator's whole range, sines and cosines within an ulp.
TEST(GameDigest, RandomNumbersAndTurnsAreTheBuildsOwn) {
    // Unseeded, the numbers start as seeding with 1 starts them (a fresh process, first thing).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(gameRandom() == 15496 && gameRandom() == 24200 ? 0 : 1),
                testing::ExitedWithCode(0), "");
    seedGameRandom(1);
    EXPECT_EQ(gameRandom(), 15496);
    int high = 0;
    for (int i = 0; i < 100000; ++i)
        high = std::max(high, gameRandom());
    EXPECT_EQ(high, GAME_RANDOM_MAX);
    for (float a = -2000.0f; a < 2000.0f; a += 0.5f) { // 0 too: its sine is exactly 0
        for (bool sine : {true, false}) {
            const float exact =
                static_cast<float>(sine ? std::sin(double(a)) : std::cos(double(a)));
            const float ulp = std::fabs(std::nextafter(exact, 2.0f) - exact);
            EXPECT_LE(std::fabs((sine ? steadySin(a) : steadyCos(a)) - exact), ulp) << a;
        }
    }
}

} // namespace
