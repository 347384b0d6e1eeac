// Pads through the page's Gamepad API: every pad with the standard layout read once a frame into
// one snapshot for the shared pad mapper.
#include "platform/web/webstate_local.h"

#include <emscripten.h>

namespace web {

namespace {

// The standard layout's button numbers for the mapper's buttons, in its order; 6 and 7 are the
// triggers, read as axes.
// clang-format off
EM_JS(int, readPads, (float* axes, int* buttons), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var order = [0, 1, 2, 3, 8, 9, 4, 5, 12, 13, 14, 15];
    var found = 0;
    for (var i = 0; i < pads.length; ++i) {
        var p = pads[i];
        if (!p || !p.connected || p.mapping !== "standard") {
            continue;
        }
        found = 1;
        var values = [p.axes[0], p.axes[1], p.axes[2], p.axes[3], p.buttons[6].value, p.buttons[7].value];
        for (var a = 0; a < 6; ++a) {
            var v = values[a] || 0;
            if (Math.abs(v) > Math.abs(HEAPF32[(axes >> 2) + a])) {
                HEAPF32[(axes >> 2) + a] = v;
            }
        }
        for (var b = 0; b < order.length; ++b) {
            if (p.buttons[order[b]] && p.buttons[order[b]].pressed) {
                HEAP32[(buttons >> 2) + b] = 1;
            }
        }
    }
    return found;
});
// clang-format on

} // namespace

const pad::Frame& padNow(uint32_t ms) {
    State& s = state();
    if (!s.padMapped) {
        s.padMapped = true;
        float axes[pad::AXIS_COUNT] = {};
        int buttons[pad::BUTTON_COUNT] = {};
        pad::State now = {};
        if (readPads(axes, buttons)) {
            for (int a = 0; a < pad::AXIS_COUNT; ++a) {
                now.axis[a] = axes[a];
            }
            for (int b = 0; b < pad::BUTTON_COUNT; ++b) {
                now.button[b] = buttons[b] != 0;
            }
        }
        s.padFrame = pad::step(s.padMapper, now, s.steeredLastFrame, ms);
        for (int i = 0; i < s.padFrame.messageCount; ++i) {
            s.messages.post(s.padFrame.messages[i]);
        }
    }
    return s.padFrame;
}

} // namespace web
