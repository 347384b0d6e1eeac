// The pad session through the real SDL layer with SDL's virtual joysticks (a controller and a
// plain joystick, plugged in and pulled out as the session goes), recorded as a demo and replayed
// with no pad to the same per-frame digests.
#include "platform/demo/demo.h"
#include "support/datafolder.h"
#include "support/padscript.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Our buttons in the order of SDL's own layout, which its virtual controllers follow.
const int kSdlButton[pad::BUTTON_COUNT] = {0, 1, 2, 3, 4, 6, 9, 10, 11, 12, 13, 14};

struct Plugged {
    padscript::Device device = padscript::NONE;
    SDL_Joystick* handle = nullptr;
} plugged;

void plug(padscript::Device device) {
    if (plugged.handle) {
        SDL_JoystickClose(plugged.handle);
        SDL_JoystickDetachVirtual(0);
        plugged.handle = nullptr;
    }
    plugged.device = device;
    if (device == padscript::NONE) {
        return;
    }
    SDL_VirtualJoystickDesc desc = {};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    const bool controller = device == padscript::CONTROLLER;
    desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = controller ? SDL_CONTROLLER_AXIS_MAX : 4;
    desc.nbuttons = controller ? SDL_CONTROLLER_BUTTON_MAX : 4;
    desc.name = controller ? "test controller" : "test joystick";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    plugged.handle = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    ASSERT_TRUE(plugged.handle) << SDL_GetError();
}

void sdlApply(int, padscript::Device device, const pad::State& pads) {
    if (device != plugged.device) {
        plug(device);
    }
    if (!plugged.handle) {
        return;
    }
    const bool controller = device == padscript::CONTROLLER;
    for (int a = 0; a < (controller ? pad::AXIS_COUNT : 4); ++a) {
        // A virtual trigger spans the whole axis: -32768 is released.
        const bool trigger = a >= pad::AXIS_LEFT_TRIGGER;
        const float raw = trigger ? pads.axis[a] * 65535 - 32768 : pads.axis[a] * 32767;
        SDL_JoystickSetVirtualAxis(plugged.handle, a, static_cast<Sint16>(raw));
    }
    for (int b = 0; b < (controller ? pad::BUTTON_COUNT : 1); ++b) {
        SDL_JoystickSetVirtualButton(plugged.handle, controller ? kSdlButton[b] : 0,
                                     pads.button[b]);
    }
}

TEST(PadSdl, VirtualPadsPlayAndTheDemoReplaysWithoutThem) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1); // no window manager gives us the focus
    testdata::ScratchDir scratch;
    testdata::WorkingDir inData(testdata::dataDir());
    ASSERT_TRUE(inData.ok());
    const std::string path = scratch.file("pad.hwd");
    std::string error;

    ASSERT_TRUE(demo::startRecording(path.c_str(), error));
    const padscript::Result played = padscript::run(sdlApply);
    ASSERT_TRUE(demo::finish(error)) << error;
    EXPECT_EQ(played.failures, std::vector<std::string>());
    EXPECT_GT(played.backFrames, 0);

    ASSERT_TRUE(demo::startPlayback(path.c_str(), true, error)) << error;
    const padscript::Result replayed = padscript::run(nullptr);
    EXPECT_TRUE(demo::finish(error)) << error;
    EXPECT_EQ(replayed.failures, std::vector<std::string>());
    EXPECT_EQ(replayed.digests, played.digests);
}

} // namespace
