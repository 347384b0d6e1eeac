// Gamepads mapped onto what the game already reads: held keys, pointer motion and mouse-button
// messages. Free of any input library, so every platform twin feeds it the same way: one
// normalised snapshot of all pads per frame.
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace pad {

enum Button {
    BUTTON_A, // bottom face button
    BUTTON_B, // right face button
    BUTTON_X, // left face button
    BUTTON_Y,
    BUTTON_BACK,
    BUTTON_START,
    BUTTON_LEFT_SHOULDER,
    BUTTON_RIGHT_SHOULDER,
    BUTTON_DPAD_UP,
    BUTTON_DPAD_DOWN,
    BUTTON_DPAD_LEFT,
    BUTTON_DPAD_RIGHT,
    BUTTON_COUNT
};

enum Axis {
    AXIS_LEFT_X, // sticks: -1 (left, up) to 1 (right, down)
    AXIS_LEFT_Y,
    AXIS_RIGHT_X,
    AXIS_RIGHT_Y,
    AXIS_LEFT_TRIGGER, // triggers: 0 (released) to 1
    AXIS_RIGHT_TRIGGER,
    AXIS_COUNT
};

// Sticks and triggers inside these are at rest (worn sticks never quite centre).
constexpr float STICK_DEAD_ZONE = 0.25f;
constexpr float TRIGGER_DEAD_ZONE = 0.12f;
// Pointer pixels per frame at full right-stick deflection: 3.6 degrees of turn a frame, about
// what the arrow keys turn.
constexpr float STEER_PIXELS = 30.0f;
// Back must be held this long to quit, so a stray press does not end a game.
constexpr uint32_t QUIT_HOLD_MS = 1000;

// Every connected pad together, as read at the start of a frame. A button counts as pressed when
// it is down now or went down since the last frame, so a tap shorter than a frame is not lost.
struct State {
    float axis[AXIS_COUNT];
    bool button[BUTTON_COUNT];
};

// What the game reads from the pads in one frame.
struct Frame {
    bool key[256];    // virtual keys held
    long dx, dy;      // pointer motion in pixels
    UINT messages[2]; // button messages to post before the next frame
    int messageCount;
};

struct Mapper {
    State last;           // the previous frame's snapshot: presses are the buttons new in this one
    uint32_t backSince;   // when Back went down
    float carryX, carryY; // pointer motion below a pixel, kept for the next frame
};

void reset(Mapper& mapper);

// One frame of the mapping. inPlay says whether the game steered with the pointer in the last
// frame: B picks Stormwick on the screens and switches players in play. ms is any millisecond
// clock.
Frame step(Mapper& mapper, const State& now, bool inPlay, uint32_t ms);

} // namespace pad
