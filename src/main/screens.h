// The four drawing functions chosen by game state; each returns 1.
#pragma once

int DrawTeamSelect();
int DrawPlaying();
int BeginGameOver();
int DrawGameOver();

// Where the in-play view last put lights 0 and 1 (x, y, z, w each).
extern float lastLight0[4];
extern float lastLight1[4];
