// One pad session through the game's own loop, for either platform twin (steps in padscript.cpp).
#pragma once

#include "platform/pad/padmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace padscript {

enum Device { NONE, CONTROLLER, PLAIN }; // a plain joystick: four stick axes, button 0 is A

// The twin's part, before each frame: make the pads look like this.
using Apply = void (*)(int frame, Device device, const pad::State& pads);

struct Result {
    std::vector<std::string> failures;
    std::vector<uint64_t> digests; // per frame
    int backFrames = 0;            // frames Back was held until the game quit
};

// WinMain in the working folder, the session driven between frames. With a null apply (a demo of
// the session replaying) only the script's own moves of balls and player still happen.
Result run(Apply apply);

} // namespace padscript
