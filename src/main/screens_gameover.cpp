// The end of a game: the one-frame change to the game-over screen, and the result it announces.
#include "main/screens.h"

#include "font/glprint.h"
#include "main/background.h"
#include "main/game.h"
#include "main/world.h"
#include "team/team.h"

#include <GL/gl.h>

int BeginGameOver() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDisable(GL_LIGHTING);
    glColor4f(0.95f, 0.65f, 0.0f, 0.0f);
    gameState = STATE_GAME_OVER;
    glDisable(GL_DEPTH_TEST);
    return 1;
}

int DrawGameOver() {
    background->draw();
    glColor3f(0.95f, 0.95f, 0.0f);
    glTranslatef(0.0f, 0.0f, -50.1f);

    // Equal scores leave team 0 as the "winner"; only the tie line is shown then.
    const int w = team[1]->getScore() > team[0]->getScore() ? 1 : 0;
    const int l = 1 - w;
    Team* winner = team[w];
    Team* loser = team[l];

    glTranslatef(-23.65f, 4.95f, 0.0f);
    if (winner->getScore() == loser->getScore()) {
        Team* catcher = winner->flicketCaught() ? winner : loser;
        glPrint("A tie game! %s caught the flicket.", catcher->name());
        glTranslatef(2.0f, -1.9f, 0.0f);
        glTranslatef(2.25f, -1.75f, 0.0f);
    } else {
        glPrint("%s has won the game by %d points!", winner->name(),
                winner->getScore() - loser->getScore());
        glTranslatef(2.0f, -1.9f, 0.0f);
        if (!winner->flicketCaught()) {
            glPrint("and did it without catching the flicket!");
            glTranslatef(2.25f, -1.75f, 0.0f);
            glPrint("Foolish, flicket-catching %s!", loser->name());
        } else {
            glTranslatef(2.25f, -1.75f, 0.0f);
        }
    }

    glTranslatef(-4.0f, -4.3f, 0.0f);
    glPrint("%s -- %d points", winner->name(), winner->getScore());
    glTranslatef(29.9f, 0.0f, 0.0f);
    glPrint("%s -- %d points", loser->name(), loser->getScore());

    glTranslatef(-23.45f, -14.35f, 0.0f);
    glPrint("Enter to Play Again -- ESC to Quit");
    return 1;
}
