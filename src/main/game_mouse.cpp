// The two mouse-button actions: a catch attempt by the followed player, and the player switch.
#include "main/game.h"

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "team/team.h"

void Game_CatchAttempt() {
    // Only in play: on the game-over screen a Seeker still beside the Flicket would catch it
    // again with every click, adding points and changing the announced result.
    if (gameState != STATE_PLAYING || view == VIEW_STANDARD) {
        return;
    }
    Team* side = worldTeam(view);
    if (!side) {
        return;
    }
    Player* p = side->activePlayer();
    if (!p) {
        return;
    }
    if (p->type == CHASER && pellum) {
        pellum->catchBall(p);
    } else if (p->type == SEEKER && flicket) {
        flicket->catchBall(p);
    }
}

void Game_SwitchPlayer() {
    if (view == VIEW_STANDARD) {
        return;
    }
    Team* side = worldTeam(view);
    if (side) {
        side->changeActive();
    }
}
