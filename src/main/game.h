// One game's own objects (music, background) and the calls that build, run and end a game.
#pragma once

class ContentPlayer;
class BackgroundImage;

extern ContentPlayer* music;
extern BackgroundImage* background;

// Clears the frame and draws it by game state; 0 for a state it does not know.
int DrawGLScene();
// Ends the current game and builds a new one in the same window and context.
void Game_Restart();

// The key bindings of play, applied once per frame while the key is held, then mouse look.
void ApplyPlayKeys();
void ApplyMouseLook();
