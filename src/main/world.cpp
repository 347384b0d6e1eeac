// World globals and the fixed order in which a game's world is built and torn down.
#include "main/world.h"

#include "cball/cball.h"
#include "static_objects/stadium.h"
#include "team/team.h"

GameManager* hoopwind = nullptr;
StadiumObject* stadium = nullptr;
CBall* pellum = nullptr;
CBall* brusker[2] = {nullptr, nullptr};
CBall* flicket = nullptr;
Team* team[2] = {nullptr, nullptr};

int view = 0;
int PLAYER_TEAM_ID = 0;

Team* worldTeam(int index) {
    if (index < 0 || index >= 2) {
        return nullptr;
    }
    return team[index];
}

void BuildWorld() {
    // Every object joins the list while it is constructed, so the list comes first and the
    // construction order below is the list order.
    hoopwind = new GameManager;
    stadium = new StadiumObject("mesh/stadium.3ds");

    pellum = new CBall(CBall::PELLUM);
    pellum->setPos(5.0f, 48.0f, 0.0f);
    brusker[0] = new CBall(CBall::BRUSKER);
    brusker[0]->setPos(5.0f, 50.0f, 15.0f);
    brusker[1] = new CBall(CBall::BRUSKER);
    brusker[1]->setPos(-5.0f, 47.0f, 15.0f);
    flicket = new CBall(CBall::FLICKET);
    flicket->setPos(-7.0f, 46.0f, -2.0f);

    team[0] = new Team("Emberhold", 0.0f, 24.0f, 30.2f, 0);
    team[1] = new Team("Stormwick", 0.0f, 24.0f, -30.4f, 1);
}

void DestroyWorld() {
    delete hoopwind;
    hoopwind = nullptr;
    stadium = nullptr;
    pellum = nullptr;
    brusker[0] = brusker[1] = nullptr;
    flicket = nullptr;
    delete team[0];
    delete team[1];
    team[0] = team[1] = nullptr;
}
