// One pad session played through the game's own loop by either platform twin: a pad plugged in
// on the selection screen, team choice, dead zones, flight, climb, steering at two deflections, a
// toggle held 20 frames, both catches, the player switch, a plain joystick, a new game, a pad
// pulled out mid-flight and Back held to quit.
#pragma once

#include "platform/pad/padmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace padscript {

enum Device { NONE, CONTROLLER, PLAIN };

// The twin's part: before the given frame, make the pads look like this (a plain joystick has a
// controller's two sticks as its four axes and A as its first button).
using Apply = void (*)(int frame, Device device, const pad::State& pads);

struct Result {
    std::vector<std::string> failures;
    std::vector<uint64_t> digests; // one per frame
    int backFrames = 0;            // frames Back was held before the game quit; 0: it did not
};

// WinMain over the data folder with the session driven between frames (null apply: no pad, as
// when a demo of the session replays). The world nudges that bring the balls within reach happen
// either way.
Result run(Apply apply);

} // namespace padscript
