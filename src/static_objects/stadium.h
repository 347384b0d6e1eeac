// The stadium: a static model at the world origin that raises the six goal hoops.
#pragma once

#include "main/gameobject.h"

class GoalPost;

constexpr int NUM_GOALS = 6;

class StadiumObject : public GameObject {
  public:
    GoalPost* goal[NUM_GOALS]; // the hoops belong to the object list, not to the stadium

    explicit StadiumObject(const char* fileName);

    void draw() override;
};
