// The shared message queue and tap latch of the platform implementations.
#include "platform/common/messagequeue.h"

void MessageQueue::post(UINT message, WPARAM wParam, LPARAM lParam) {
    waiting.push_back(MSG{message, wParam, lParam});
}

bool MessageQueue::take(MSG* msg) {
    if (!msg || waiting.empty()) {
        return false;
    }
    *msg = waiting.front();
    waiting.pop_front();
    return true;
}

void TapLatch::press(int code) {
    if (code >= 0 && static_cast<size_t>(code) < CODES) {
        down[code] = true;
    }
}

bool TapLatch::pressed(int code) const {
    return code >= 0 && static_cast<size_t>(code) < CODES && down[code];
}

void TapLatch::endFrame() {
    for (bool& k : down) {
        k = false;
    }
}
