// One game played from the selection screen to game over through the human Seeker's catch,
// then restarted and the next game played a little; fails the calling test on a wrong state.
#pragma once

#include "reliability/gamesession.h"

namespace reliability {

void playToGameOverAndRestart(GameSession& game);

} // namespace reliability
