// Team construction, points and flags, and handing control between the two players.
#include "team/team.h"

#include <cstdio>

namespace {
constexpr float PLAYER_SPACING = 2.5f; // Chaser to the left of the team's spot, Seeker to the right
constexpr const char* PLAYER_MODEL = "mesh/player.3ds";
} // namespace

Team::Team(const char* name, float x, float y, float z, int teamIndex)
    : player{nullptr, nullptr}, teamName{}, score(0), holdingPellum(false), caughtFlicket(false),
      active(0) {
    // Long names are cut to fit rather than run past the field.
    std::snprintf(teamName, sizeof teamName, "%s", name != nullptr ? name : "");
    player[0] = new Player(PLAYER_MODEL, x - PLAYER_SPACING, y, z, teamIndex, CHASER);
    player[1] = new Player(PLAYER_MODEL, x + PLAYER_SPACING, y, z, teamIndex, SEEKER);
    active = 0;
}

void Team::scoreGoal() {
    score += 10;
}

void Team::catchFlicket() {
    score += 150;
    caughtFlicket = true;
}

void Team::catchPellum() {
    holdingPellum = !holdingPellum;
}

void Team::changeActive() {
    if (player[active] != nullptr) {
        player[active]->yrot = 0.0f;
    }
    active += 1;
    if (active >= NUM_PLAYERS_PER_TEAM) {
        active = 0;
    }
}

Player* Team::activePlayer() {
    return player[active];
}

Player* Team::getChaser() {
    return player[0];
}

const char* Team::name() {
    return teamName;
}

int Team::getScore() {
    return score;
}

bool Team::flicketCaught() {
    return caughtFlicket;
}

bool Team::isHoldingPellum() {
    return holdingPellum;
}
