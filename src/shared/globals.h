// Program-wide switches and constants that several layers read (lighting, world offset, speeds).
#pragma once

// Lighting wanted: balls and models set GL materials when true, plain colours when false.
extern bool USE_LIGHTS;

// Position of the followed player; every world object draws itself at its position minus this.
extern float xoffset, yoffset, zoffset;

constexpr float piover180 = 0.017453292f;
constexpr float TURN_SPEED = 3.5f;
constexpr float WALK_SPEED = 2.05f;
constexpr float RISE_SPEED = 1.85f;
