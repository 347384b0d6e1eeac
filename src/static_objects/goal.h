// A goal hoop: a static model that scores for the side carrying the Pellum through its box.
#pragma once

#include "main/gameobject.h"

// Height of every hoop's scoring box, whatever height the hoop model stands at.
constexpr float GOAL_BOX_HEIGHT = 23.8f;

class GoalPost : public GameObject {
  public:
    float X, Y, Z;       // centre of the scoring box
    float scoringRadius; // half-width of the box in x and y

    GoalPost(const char* fileName, float x, float y, float z);

    void draw() override;
    // Scores for the carrying side when the Pellum is in this hoop's box.
    void step() override;
    bool scoredUpon();
};
