// Scripted whole games hashed frame by frame against recorded digests.
#include "support/gamesession.h"

#include "cball/cball.h"
#include "main/gameview.h"
#include "main/world.h"
#include "main/worlddigest.h"
#include "platform/headless.h"
#include "player/player.h"
#include "shared/globals.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <string>
#include <cstring>

namespace {

using hwtest::GameSession;

// The camera and offsets live beside the world; they are folded in with each frame's digest.
uint64_t frameDigest(uint64_t chain) {
    const float camera[] = {yrot,    pivot,   xpos,   ytrans, zpos, distBehindPlayer,
                            xoffset, yoffset, zoffset};
    uint64_t values[10] = {worldDigest()};
    for (int i = 0; i < 9; ++i) {
        uint32_t bits = 0;
        std::memcpy(&bits, &camera[i], sizeof bits);
        values[1 + i] = bits;
    }
    for (uint64_t v : values) {
        for (int b = 0; b < 8; ++b) {
            chain = (chain ^ ((v >> (8 * b)) & 0xffu)) * 0x100000001b3ULL;
        }
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
    {4242, '1', {0x959a3f58c4b87e5e, 0x3a523cd1ba8d19d6, 0x6465a95c857252fb, 0x58df2d6baf71cacf}},
    {4242, '2', {0xfe5a3e49009e50f1, 0xd846a802fe2ca1bd, 0x91b4b7f0facd0f48, 0xc2125be35978e0a0}},
    {2026, '2', {0xafe7fb5796a099b2, 0x70682a5d049ce9cc, 0x662c2da4cb960ed7, 0x3f711076654fc094}},
    {99991, '1', {0x5442f52bbcb6722c, 0xc73c27bbbda9e0bc, 0x3583490b4cc27949, 0xe68f2e1b9d05beda}},
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

} // namespace
