// The shell's globals and entry points: window, GL context and message loop. The loop calls the
// game through the entry points declared in game.h.
#pragma once

#include "platform/platform.h"

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SCREEN_BPP = 16;
#define WINDOW_CLASS_NAME "Hoopwind"

extern HGLRC hrc;
extern HDC hdc;
extern HWND hwnd;
extern bool active;     // false while minimised; frames run only while true
extern bool fullscreen; // full screen requested / in force

// Directional light along +z, used by InitGL and the in-play lights.
extern float lightPos[4];

// The game's font, loaded by InitGL.
extern int font1;

// fullscreenWanted false: a window from the start. whenDone, if given, gets the exit status once
// the game has closed and returns the program's. On a platform whose loop cannot block (a browser
// page) WinMain does not return once the loop runs, so whatever ends the program belongs there.
int WinMain(bool fullscreenWanted = true, int (*whenDone)(int status) = nullptr);
bool CreateGLWindow(const char* title, int width, int height, int bits, bool fullscreenFlag);
void KillGLWindow();
// Viewport and projection for a drawable size; in full screen the picture keeps its 4:3 shape.
void ResizeGLView(int width, int height);
// Clears the whole drawable to black for the first frames after a size change (call before
// drawing a frame), so the bars around a full-screen picture are black in every buffer.
void ClearPictureBars();
int InitGL();
LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
