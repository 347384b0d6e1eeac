// The game's three models, built in their own coordinate frames as the world places them.
#pragma once

#include "assetgen/models/modelfile.h"

namespace model {

// Height of the hoop ring's centre and the half-width of the square the ring's opening contains.
constexpr float HOOP_CENTER_Y = 23.8f;
constexpr float HOOP_OPENING = 3.8f;

Model buildGoal();
Model buildPlayer();
Model buildStadium();

} // namespace model
