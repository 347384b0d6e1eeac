// The four balls: the Pellum that is carried and scored, the hunting attack balls, the Flicket.
#pragma once

#include "main/gameobject.h"

class Player;

constexpr int NO_TEAM = 20;          // no team holds the ball
constexpr int PLAYER_NOT_FOUND = 99; // an attack ball without a victim
constexpr float BOUNCE_STEPS = 5.0f; // steps a ball flies away after a hit

class CBall : public GameObject {
  public:
    enum ballType : int32_t { PELLUM = 0, BRUSKER = 1, FLICKET = 2 };

    ballType type;
    float radius; // drawn size and collision radius
    float g;      // a free Pellum sinks by 0.5*g*g per step
    bool caught;
    int holding; // team index, or NO_TEAM
    float searchRadius;
    int victim; // player index within victimsTeam, or PLAYER_NOT_FOUND
    int victimsTeam;
    int noVicTic;     // 0: choose a wander target now; else steps since the last choice + 1
    float xv, yv, zv; // fraction of the remaining distance covered per step
    float xi, yi, zi; // target point
    float matAmb[4], matDif[4], matSpec[4];
    float matShiny;

    // Shared by every ball: steps left in a bounce, and the step count at which a wandering
    // ball picks a new target (re-drawn whenever any ball picks one).
    static float bounceCountdown;
    static int wanderTicks;

    explicit CBall(ballType kind);

    void setPos(float x, float y, float z);
    float giveRadius();

    void draw() override;
    void detectCollision() override;
    void reactCollision(float x, float y, float z, OBJECT_TYPE type) override;
    // Falls, follows its carrier, hunts, wanders or bounces away, by kind.
    void step() override;

    void catchBall(Player* p);
    void scoreGoal();
    void dispStatus();

  private:
    void findVictim();
    void chooseWanderTarget();
    void approachTarget();
};
