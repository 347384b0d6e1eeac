// A flying player: movement steps, the computer patrol along the pitch, and reactions to hits.
#pragma once

#include "main/gameobject.h"

class ParticleEmitter;

enum PLAYER_TYPE : int32_t { CHASER = 0, SEEKER = 1, BEATER = 2, KEEPER = 3 };

// Patrol goals on the lane coordinate s = 78 + z: the z = -78 end and the z = 83 end.
constexpr int PATROL_NEAR_END = 0;
constexpr int PATROL_FAR_END = 161;

class Player : public GameObject {
  public:
    int teamNum;
    bool turning; // rotRemain is added to yrot at the next draw
    float yrot;   // heading in degrees; 0 faces -z
    float xrot;   // pitch in degrees
    float catchRadius;
    float rotRemain;
    PLAYER_TYPE type;
    ParticleEmitter* magicTrail; // owned
    int dir;                     // patrol direction along z: -1 or +1
    int target;                  // PATROL_NEAR_END or PATROL_FAR_END

    Player(const char* fileName, float x, float y, float z, int teamIndex, PLAYER_TYPE kind);
    ~Player() override;

    void draw() override;
    void detectCollision() override;
    void reactCollision(float x, float y, float z, OBJECT_TYPE type) override;
    bool reactsTo(OBJECT_TYPE type) const override;
    // The computer's steering (update), then the pending turn.
    void step() override;

    // Patrol and the Seeker's grab at the Flicket; nothing for the human's active player.
    void update();
    void Patrol();
    void moveForward();
    void moveBackward();
    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();
    void turnAround(float degrees);
    float cRad();
};
