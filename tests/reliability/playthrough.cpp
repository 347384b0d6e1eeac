// One game played from the selection screen to game over and into the next game.
#include "reliability/playthrough.h"

#include "cball/cball.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "team/team.h"

#include <gtest/gtest.h>

namespace reliability {

// Plays one game to its end through the human Seeker's catch, then restarts and plays a little
// of the next; shared with the damaged-data tests.
void playToGameOverAndRestart(GameSession& game) {
    game.frame();
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    game.tap('2');
    ASSERT_EQ(gameState, STATE_PLAYING);
    for (int i = 0; i < 20; ++i) {
        headless::setKey(VK_UP, i % 3 == 0);
        game.frame();
    }
    headless::setKey(VK_UP, false);
    if (gameState == STATE_PLAYING) {
        if (team[1]->activePlayer()->type != SEEKER) {
            game.rightClick();
        }
        Player* seeker = team[1]->activePlayer();
        flicket->getPos(seeker->xpos, seeker->ypos, seeker->zpos);
        seeker->ypos -= 3.0f;
        game.leftClick();
    }
    game.frame();
    game.frame();
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    game.tap(VK_RETURN);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    game.tap('1');
    for (int i = 0; i < 10; ++i) {
        game.frame();
    }
    ASSERT_TRUE(worldPositionsFinite());
}

} // namespace reliability
