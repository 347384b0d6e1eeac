// The world's globals (object list, stadium, balls, teams, state and view) and its build and
// teardown.
#pragma once

#include "main/gameobject.h"
#include "main/gamestates.h"

class StadiumObject;
class CBall;
class Team;

extern GameManager* hoopwind;
extern StadiumObject* stadium;
extern CBall* pellum;
extern CBall* brusker[2];
extern CBall* flicket;
extern Team* team[2]; // 0 "Emberhold", 1 "Stormwick"

extern int view;           // team followed by the camera, or VIEW_STANDARD
extern int PLAYER_TEAM_ID; // the human's team

// team[index] when index names a side that exists, null otherwise.
Team* worldTeam(int index);

// Creates the list, then the stadium with its hoops, the balls at their places, and the teams,
// in the order that fixes the list's order.
void BuildWorld();
// Destroys the list with every object in it, then the teams; the pointers are cleared.
void DestroyWorld();
