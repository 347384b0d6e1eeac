// The team-selection screen: the background and the two choices.
#include "main/screens.h"

#include "font/glprint.h"
#include "main/background.h"
#include "main/game.h"
#include "main/world.h"
#include "team/team.h"

#include <GL/gl.h>

int DrawTeamSelect() {
    background->draw();
    glTranslatef(0.0f, 0.0f, -50.1f);
    glColor3f(1.0f, 1.0f, 0.0f);
    glTranslatef(-24.2f, 2.75f, 0.0f);
    glPrint("Press the Number of the Team You Wish to Play For");
    glTranslatef(2.5f, -5.55f, 0.0f);
    glPrint("1 - %s", team[0]->name());
    glTranslatef(31.5f, 0.0f, 0.0f);
    glPrint("2 - %s", team[1]->name());
    return 1;
}
