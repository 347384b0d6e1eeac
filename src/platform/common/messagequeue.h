// The window messages a platform has turned its events into, waiting for PeekMessage, and the tap
// latch that keeps a key press shorter than a frame visible to the frame after it.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <deque>

class MessageQueue {
  public:
    void post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Takes the oldest message into *msg; false when none waits (or msg is null).
    bool take(MSG* msg);
    bool empty() const { return waiting.empty(); }
    void clear() { waiting.clear(); }

  private:
    std::deque<MSG> waiting;
};

// Keys (by whatever code the platform reads them with) that went down since the last frame ended.
class TapLatch {
  public:
    static constexpr size_t CODES = 512;
    void press(int code);
    bool pressed(int code) const;
    void endFrame();

  private:
    bool down[CODES] = {};
};
