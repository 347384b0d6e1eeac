// A side: its two players, name, score, and the Pellum and Flicket flags.
#pragma once

#include "player/player.h"

constexpr int NUM_PLAYERS_PER_TEAM = 2;

class Team {
  public:
    Player* player[NUM_PLAYERS_PER_TEAM]; // 0 the Chaser, 1 the Seeker; owned by the object list
    char teamName[64];
    int score;
    bool holdingPellum;
    bool caughtFlicket;
    int active;

    Team(const char* name, float x, float y, float z, int teamIndex);
    Team(const Team&) = delete;
    Team& operator=(const Team&) = delete;

    void scoreGoal();
    void catchFlicket();
    void catchPellum();
    void changeActive();
    Player* activePlayer();
    Player* getChaser();
    const char* name();
    int getScore();
    bool flicketCaught();
    bool isHoldingPellum();
};
