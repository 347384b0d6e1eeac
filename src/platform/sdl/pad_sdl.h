// Pads for the SDL platform: controllers and plain joysticks opened and closed as they are
// plugged in and pulled out, read once a frame into the pad mapper.
#pragma once

#include "platform/pad/padmap.h"

union SDL_Event;

// After the video subsystem is up; without pad support the game simply has no pads.
void padOpen();
void padClose();
// Device arrivals and departures, and button presses between two frames.
void padEvent(const SDL_Event& e);
// This frame's pad input, mapped at the first call of a frame; its button messages are handed to
// post then. inPlay: the game steered with the pointer in the last frame.
const pad::Frame& padFrame(bool inPlay, void (*post)(UINT message));
void padFrameEnd();
