// The one place that puts every program-wide value the game owns back to its program-start value.
#pragma once

// Ends any game still built (music, background, world), then sets back the world pointers, game
// state, followed team, camera and head-up switches, lighting switch, world offset, the balls'
// shared counters and the collision-box silencing. The shell's window globals are not touched.
// The game's own restart does not call this: view and camera survive a new game.
void ResetGameGlobals();
