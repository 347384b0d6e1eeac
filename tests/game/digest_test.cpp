// Scripted whole games hashed frame by frame against recorded digests.
#include "support/gamesession.h"

#include "cball/cball.h"
#include "main/gameview.h"
#include "main/world.h"
#include "main/worlddigest.h"
#include "platform/headless.h"
#include "player/player.h"
#include "shared/globals.h"
#include "shared/random.h"
#include "shared/steadymath.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

using hwtest::GameSession;

// The camera and offsets live beside the world; they are folded in with each frame's digest.
uint64_t frameDigest(uint64_t chain) {
    auto fold = [&](uint64_t v) {
        for (int b = 0; b < 8; ++b) {
            chain = (chain ^ ((v >> (8 * b)) & 0xffu)) * 0x100000001b3ULL;
        }
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

void standUnder(CBall* ball) {
    Player* p = hwtest::human();
    ball->getPos(p->xpos, p->ypos, p->zpos);
    p->ypos -= 3.0f;
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
        ASSERT_TRUE(game.ok());
        game.start(s.ticks);
        uint64_t chain = 0xcbf29ce484222325ULL;
        game.afterFrame = [&] { chain = frameDigest(chain); };
        auto checkpoint = [&](int k) {
            EXPECT_EQ(chain, s.expected[k]) << "checkpoint " << k << ": 0x" << std::hex << chain;
        };
        game.frames(2);
        game.tap(s.teamKey);
        ASSERT_EQ(gameState, STATE_PLAYING);
        Team* side = team[view];
        for (int i = 0; i < 60; ++i) {
            steer(game, i);
        }
        // The Chaser takes the Pellum and is carried into a hoop's box: one goal.
        standUnder(pellum);
        game.leftClick();
        game.frame();
        ASSERT_TRUE(pellum->caught);
        const GoalPost* hoop = stadium->goal[3];
        Player* chaser = hwtest::human();
        chaser->xpos = hoop->X;
        chaser->ypos = hoop->Y;
        chaser->zpos = hoop->Z + 0.5f;
        game.frames(3);
        EXPECT_EQ(side->score, 10);
        checkpoint(0);
        // Play on with the Seeker, then catch the Flicket.
        game.rightClick();
        for (int i = 60; i < 150; ++i) {
            steer(game, i);
        }
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
        for (int i = 0; i < 120; ++i) {
            steer(game, i * 7);
        }
        checkpoint(3);
    }
}

// What the digests rest on (besides a sequence repeated from each seed): the generator's whole
// range, and sines and cosines within an ulp of the exact ones.
TEST(GameDigest, RandomNumbersAndTurnsAreTheBuildsOwn) {
    int high = 0;
    for (int i = 0; i < 100000; ++i) {
        high = std::max(high, gameRandom());
    }
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
