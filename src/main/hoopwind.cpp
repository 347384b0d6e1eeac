// The shell's globals with their program-start values.
#include "main/hoopwind.h"

HGLRC hrc = nullptr;
HDC hdc = nullptr;
HWND hwnd = nullptr;
bool active = true;
bool fullscreen = true;
float lightPos[4] = {0.0f, 0.0f, 2000.0f, 0.0f};
int font1 = -1;
