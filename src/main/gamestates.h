// Game-state values, the free-camera view value and the current game state.
#pragma once

constexpr int STATE_TEAM_SELECT = 0;
constexpr int STATE_PLAYING = 2;
constexpr int STATE_GAME_ENDING = 3; // the Flicket has just been caught; lasts one frame
constexpr int STATE_GAME_OVER = 4;

// Value of `view` while the free camera follows no team.
constexpr int VIEW_STANDARD = 20;

extern int gameState;
