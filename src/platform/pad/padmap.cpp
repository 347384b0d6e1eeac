// The pad layout: which key, pointer motion or button message each stick, trigger and button
// stands for. Held bindings act in every frame, as keys do; the toggles (lights, read-out, free
// camera) act once per press, since a pad button is easily held for several frames.
#include "platform/pad/padmap.h"

#include <cmath>

namespace pad {

namespace {

// Pixels to move this frame for one stick axis; what rounding leaves is carried, so a light touch
// still turns, slowly, and a steady stick turns at its exact rate.
long steer(float value, float& carry) {
    if (std::fabs(value) <= STICK_DEAD_ZONE) {
        carry = 0.0f;
        return 0;
    }
    carry += value * STEER_PIXELS;
    const long whole = std::lround(carry);
    carry -= static_cast<float>(whole);
    return whole;
}

} // namespace

void reset(Mapper& mapper) {
    mapper = Mapper{};
}

Frame step(Mapper& mapper, const State& now, bool inPlay, uint32_t ms) {
    Frame out = {};
    const bool* held = now.button;
    auto pressed = [&](Button b) { return held[b] && !mapper.last.button[b]; };
    auto post = [&](UINT message) { out.messages[out.messageCount++] = message; };

    const float* axis = now.axis;
    out.key[VK_LEFT] = axis[AXIS_LEFT_X] < -STICK_DEAD_ZONE;
    out.key[VK_RIGHT] = axis[AXIS_LEFT_X] > STICK_DEAD_ZONE;
    out.key[VK_UP] = axis[AXIS_LEFT_Y] < -STICK_DEAD_ZONE;
    out.key[VK_DOWN] = axis[AXIS_LEFT_Y] > STICK_DEAD_ZONE;
    out.key[VK_NUMPAD8] = axis[AXIS_RIGHT_TRIGGER] > TRIGGER_DEAD_ZONE;
    out.key[VK_NUMPAD2] = axis[AXIS_LEFT_TRIGGER] > TRIGGER_DEAD_ZONE;
    out.dx = steer(axis[AXIS_RIGHT_X], mapper.carryX);
    out.dy = steer(axis[AXIS_RIGHT_Y], mapper.carryY);
    // The pointer does not pitch the free camera: the right stick also holds Page Up / Down,
    // which pointer steering overrides while a player is followed.
    out.key[VK_PRIOR] = axis[AXIS_RIGHT_Y] < -STICK_DEAD_ZONE;
    out.key[VK_NEXT] = axis[AXIS_RIGHT_Y] > STICK_DEAD_ZONE;

    out.key[int{'1'}] = held[BUTTON_X];
    out.key[int{'2'}] = held[BUTTON_B] && !inPlay;
    out.key[int{'A'}] = held[BUTTON_RIGHT_SHOULDER];
    out.key[int{'S'}] = held[BUTTON_LEFT_SHOULDER];
    out.key[VK_RETURN] = held[BUTTON_START];
    out.key[VK_TAB] = pressed(BUTTON_DPAD_UP);
    out.key[VK_F1] = pressed(BUTTON_DPAD_RIGHT);
    out.key[int{'0'}] = pressed(BUTTON_DPAD_DOWN);
    if (inPlay && pressed(BUTTON_A)) {
        post(WM_LBUTTONDOWN);
    }
    if (inPlay && pressed(BUTTON_B)) {
        post(WM_RBUTTONDOWN);
    }

    if (pressed(BUTTON_BACK)) {
        mapper.backSince = ms;
    }
    out.key[VK_ESCAPE] = held[BUTTON_BACK] && ms - mapper.backSince >= QUIT_HOLD_MS;

    mapper.last = now;
    return out;
}

} // namespace pad
