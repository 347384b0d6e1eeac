// Pads through SDL's game-controller API, with the user's own mappings (SDL reads
// SDL_GAMECONTROLLERCONFIG itself). A joystick SDL has no mapping for still plays: its first two
// axes fly, the next two steer and its first button catches.
#include "platform/sdl/pad_sdl.h"

#include <SDL.h>

#include <cmath>
#include <vector>

namespace {

struct Device {
    SDL_JoystickID id;
    SDL_GameController* controller; // null for a plain joystick
    SDL_Joystick* joystick;
};

struct Pads {
    bool open = false;
    std::vector<Device> devices;
    bool latched[pad::BUTTON_COUNT] = {}; // went down since the last frame
    pad::Mapper mapper = {};
    pad::Frame frame = {};
    bool mapped = false; // this frame's mapping is done
};

Pads& pads() {
    static Pads p;
    return p;
}

const SDL_GameControllerButton kButtons[pad::BUTTON_COUNT] = {SDL_CONTROLLER_BUTTON_A,
                                                              SDL_CONTROLLER_BUTTON_B,
                                                              SDL_CONTROLLER_BUTTON_X,
                                                              SDL_CONTROLLER_BUTTON_Y,
                                                              SDL_CONTROLLER_BUTTON_BACK,
                                                              SDL_CONTROLLER_BUTTON_START,
                                                              SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                              SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                              SDL_CONTROLLER_BUTTON_DPAD_UP,
                                                              SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                                              SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                                                              SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
const SDL_GameControllerAxis kAxes[pad::AXIS_COUNT] = {
    SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,       SDL_CONTROLLER_AXIS_RIGHTX,
    SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT};
constexpr int PLAIN_AXES = 4; // left stick x, y, right stick x, y: the first four of pad::Axis

float unit(Sint16 v) {
    return v < 0 ? static_cast<float>(v) / 32768.0f : static_cast<float>(v) / 32767.0f;
}

Device* find(SDL_JoystickID id) {
    for (Device& d : pads().devices) {
        if (d.id == id) {
            return &d;
        }
    }
    return nullptr;
}

void plugIn(int index) {
    if (find(SDL_JoystickGetDeviceInstanceID(index))) {
        return;
    }
    Device d = {SDL_JoystickGetDeviceInstanceID(index), nullptr, nullptr};
    if (SDL_IsGameController(index)) {
        d.controller = SDL_GameControllerOpen(index);
    } else {
        d.joystick = SDL_JoystickOpen(index);
    }
    if (d.controller || d.joystick) {
        pads().devices.push_back(d);
    }
}

void pullOut(SDL_JoystickID id) {
    std::vector<Device>& all = pads().devices;
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (it->id == id) {
            if (it->controller) {
                SDL_GameControllerClose(it->controller);
            } else {
                SDL_JoystickClose(it->joystick);
            }
            all.erase(it);
            return;
        }
    }
}

// Every pad at once: a button is down on any of them, an axis is the one pushed furthest.
pad::State snapshot() {
    pad::State all = {};
    for (const Device& d : pads().devices) {
        for (int a = 0; a < pad::AXIS_COUNT; ++a) {
            Sint16 raw = 0;
            if (d.controller) {
                raw = SDL_GameControllerGetAxis(d.controller, kAxes[a]);
            } else if (a < PLAIN_AXES && a < SDL_JoystickNumAxes(d.joystick)) {
                raw = SDL_JoystickGetAxis(d.joystick, a);
            }
            if (std::fabs(unit(raw)) > std::fabs(all.axis[a])) {
                all.axis[a] = unit(raw);
            }
        }
        for (int b = 0; b < pad::BUTTON_COUNT; ++b) {
            all.button[b] =
                all.button[b] ||
                (d.controller ? SDL_GameControllerGetButton(d.controller, kButtons[b])
                              : b == pad::BUTTON_A && SDL_JoystickGetButton(d.joystick, 0));
        }
    }
    for (int b = 0; b < pad::BUTTON_COUNT; ++b) {
        all.button[b] = all.button[b] || pads().latched[b];
    }
    return all;
}

} // namespace

void padOpen() {
    Pads& p = pads();
    if (!p.open && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
        p.open = true; // pads present already arrive as device events
    }
    pad::reset(p.mapper);
}

void padClose() {
    Pads& p = pads();
    while (!p.devices.empty()) {
        pullOut(p.devices.back().id);
    }
    if (p.open) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    p = Pads();
}

void padEvent(const SDL_Event& e) {
    Pads& p = pads();
    switch (e.type) {
    case SDL_JOYDEVICEADDED:
        plugIn(e.jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
        pullOut(e.jdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        for (int b = 0; b < pad::BUTTON_COUNT; ++b) {
            p.latched[b] = p.latched[b] || kButtons[b] == e.cbutton.button;
        }
        break;
    case SDL_JOYBUTTONDOWN: {
        const Device* d = find(e.jbutton.which);
        if (d && !d->controller && e.jbutton.button == 0) {
            p.latched[pad::BUTTON_A] = true;
        }
        break;
    }
    default:
        break;
    }
}

const pad::Frame& padFrame(bool inPlay, void (*post)(UINT message)) {
    Pads& p = pads();
    if (!p.mapped) {
        p.mapped = true;
        p.frame = pad::step(p.mapper, snapshot(), inPlay, SDL_GetTicks());
        for (bool& b : p.latched) {
            b = false;
        }
        for (int i = 0; i < p.frame.messageCount; ++i) {
            post(p.frame.messages[i]);
        }
    }
    return p.frame;
}

void padFrameEnd() {
    pads().mapped = false;
}
