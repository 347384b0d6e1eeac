// The game flow: one game's own objects (music, background) and the calls that build, run and
// end a game, the entry points the shell's loop and window procedure call.
#pragma once

class ContentPlayer;
class BackgroundImage;

extern ContentPlayer* music;
extern BackgroundImage* background;

// Builds one game: seed, music, splash, world, selection screen. Returns 1.
int Game_Init();
// One frame: input by state, the collision pass in play, then the drawing. Returns 1.
int Game_Main();
// Ends the current game: music, background and world freed; window and camera stay. Returns 1.
int Game_Shutdown();
// Left button: the followed player tries to catch its ball (Chaser the Pellum, Seeker the Flicket).
void Game_CatchAttempt();
// Right button: control passes to the followed team's other player.
void Game_SwitchPlayer();

// Clears the frame and draws it by game state; 0 for a state it does not know.
int DrawGLScene();
// Ends the current game and builds a new one in the same window and context.
void Game_Restart();

// The key bindings of play, applied once per frame while the key is held, then mouse look.
void ApplyPlayKeys();
void ApplyMouseLook();
