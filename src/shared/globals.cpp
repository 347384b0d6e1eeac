// Definitions of the program-wide switches shared by the render, world and shell layers.
#include "shared/globals.h"

bool USE_LIGHTS = false;
float xoffset = 0.0f;
float yoffset = -2.34f;
float zoffset = -45.0f;
