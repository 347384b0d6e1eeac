// Many restarts of the whole game in a row, in-process, each building a fresh game.
#include "reliability/gamesession.h"

#include "cball/cball.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

namespace reliability {
namespace {

int listLength() {
    int n = 0;
    for (GameObject* o = hoopwind ? hoopwind->head : nullptr; o != nullptr; o = o->next) {
        ++n;
    }
    return n;
}

// Puts the human's Seeker on the Flicket and clicks: the quickest honest way to a game over.
void catchFlicketAsHuman(GameSession& game) {
    Team* side = worldTeam(view);
    ASSERT_NE(side, nullptr);
    if (side->activePlayer()->type != SEEKER) {
        game.rightClick();
    }
    Player* seeker = side->activePlayer();
    ASSERT_EQ(seeker->type, SEEKER);
    flicket->getPos(seeker->xpos, seeker->ypos, seeker->zpos);
    seeker->ypos -= 3.0f; // the catch compares the ball with a point 3 above the player
    game.leftClick();
}

// Texture objects alive in the current context, counted by name.
int liveTextures() {
    int n = 0;
    for (GLuint name = 1; name < 4096; ++name) {
        n += glIsTexture(name) == GL_TRUE ? 1 : 0;
    }
    return n;
}

TEST(Endurance, RestartsLeaveAsManyTexturesAliveAsOneGameMakes) {
    GameSession game(generatedDataDir());
    ASSERT_TRUE(game.ok());
    const int beforeGame = liveTextures(); // the font's, made with the window
    game.start(3);
    game.frame();
    const int oneGame = liveTextures();
    // Background, the stadium's, hoops' and riders' materials, and the four trails.
    ASSERT_GT(oneGame - beforeGame, 10);
    for (int i = 0; i < 5; ++i) {
        Game_Restart();
        game.frame();
        ASSERT_EQ(liveTextures(), oneGame) << "after restart " << i + 1;
    }
    game.shutdown();
    EXPECT_EQ(liveTextures(), beforeGame);
}

TEST(Endurance, TwoHundredRestartsEachBuildAFreshGame) {
    GameSession game(generatedDataDir());
    ASSERT_TRUE(game.ok());
    game.start(1);
    game.frame();
    const int objects = listLength();
    ASSERT_EQ(objects, 15); // stadium, six hoops, four balls, four players

    for (int cycle = 0; cycle < 200; ++cycle) {
        headless::setTickCount(static_cast<uint32_t>(1000 + cycle));
        game.tap(cycle % 2 == 0 ? '1' : '2');
        ASSERT_EQ(gameState, STATE_PLAYING) << "cycle " << cycle;
        game.frame();
        if (cycle % 10 == 0) {
            // Every tenth game is played to its end, the way a player would leave it.
            catchFlicketAsHuman(game);
            game.frame();
            game.frame();
            ASSERT_EQ(gameState, STATE_GAME_OVER) << "cycle " << cycle;
            game.tap(VK_RETURN);
        } else {
            Game_Restart();
            game.frame();
        }
        ASSERT_EQ(gameState, STATE_TEAM_SELECT) << "cycle " << cycle;
        ASSERT_EQ(listLength(), objects) << "cycle " << cycle;
        ASSERT_EQ(team[0]->getScore() + team[1]->getScore(), 0) << "cycle " << cycle;
        ASSERT_FALSE(pellum->caught) << "cycle " << cycle;
    }
    EXPECT_TRUE(headless::messageBoxes().empty());
}

} // namespace
} // namespace reliability
