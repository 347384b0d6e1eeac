// What the page's event handlers and the platform calls share: the message queue, the keys, the
// pointer and the window's state.
#pragma once

#include "platform/common/messagequeue.h"
#include "platform/pad/padmap.h"
#include "platform/platform.h"

namespace web {

struct State {
    MessageQueue messages;
    bool keys[256] = {};
    TapLatch latched; // by virtual key
    bool focused = true;
    bool windowMade = false;
    int width = 640; // the canvas's drawing size
    int height = 480;
    // The pointer: while the game steers, the cursor it reads is where it last put it plus the
    // movement since; the real pointer is locked to the canvas when the browser grants it.
    POINT warp = {320, 240};
    long moveX = 0;
    long moveY = 0;
    bool steering = false; // the game put the cursor back in this frame
    bool locked = false;
    bool lockAsked = false;  // a request is on its way
    bool lockWaits = false;  // the player freed the pointer (Escape) or the browser said no:
                             // only a click on the canvas locks it again
    bool weReleased = false; // the next unlock is ours, not the player's
    // Pads: mapped once a frame (web_pad.cpp); in play as far as the pads are concerned.
    pad::Mapper padMapper = {};
    pad::Frame padFrame = {};
    bool padMapped = false;
    bool steeredLastFrame = false;
};

State& state();

// Event handlers on the page (web_input.cpp); removed with the window.
void installInput();
void removeInput();
void requestLock();
void releaseLock();
// This frame's pad input, mapped at the first call of a frame (its button messages are posted
// then); ms is the tick count.
const pad::Frame& padNow(uint32_t ms);
// Canvas size in CSS pixels (the layout's 4:3 box).
void canvasCssSize(int* width, int* height);

} // namespace web
