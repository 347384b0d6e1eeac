// The pad session on SDL's virtual joysticks, recorded as a demo and replayed with no pad.
#include "platform/demo/demo.h"
#include "support/datafolder.h"
#include "support/padscript.h"

#include <SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <gtest/gtest.h>

namespace {

padscript::Device plugged = padscript::NONE;
SDL_Joystick* stick = nullptr;

// What the first frames load stays past SDL's close, so the GL driver's leaks keep their name.
int keep(dl_phdr_info* info, size_t, void*) {
    dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

void sdlApply(int frame, padscript::Device device, const pad::State& pads) {
    if (frame == 3)
        dl_iterate_phdr(keep, nullptr);
    const bool controller = device == padscript::CONTROLLER;
    if (device != plugged) {
        SDL_JoystickClose(stick);
        SDL_JoystickDetachVirtual(0);
        SDL_VirtualJoystickDesc d = {};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        d.naxes = 6;
        d.nbuttons = 15;
        stick = device ? SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&d)) : nullptr;
        plugged = device;
    }
    // Controllers: SDL's layout, triggers from -32768; plain joysticks: the sticks' axes, A first.
    const int sdlButton[pad::BUTTON_COUNT] = {0, 1, 2, 3, 4, 6, 9, 10, 11, 12, 13, 14};
    for (int a = 0; a < pad::AXIS_COUNT; ++a) {
        const float v = pads.axis[a];
        SDL_JoystickSetVirtualAxis(
            stick, a, static_cast<Sint16>(a >= 4 && controller ? v * 65535 - 32768 : v * 32767));
    }
    for (int b = 0; b < pad::BUTTON_COUNT; ++b)
        if (controller || b == pad::BUTTON_A)
            SDL_JoystickSetVirtualButton(stick, sdlButton[b], pads.button[b]);
}

TEST(PadSdl, VirtualPadsPlayAndTheDemoReplaysWithoutThem) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1); // no window manager gives the focus
    testdata::ScratchDir scratch;
    testdata::WorkingDir inData(testdata::dataDir());
    std::string path = scratch.file("pad.hwd"), error;
    ASSERT_TRUE(inData.ok() && demo::startRecording(path.c_str(), error));
    const padscript::Result played = padscript::run(sdlApply);
    ASSERT_TRUE(demo::finish(error)) << error;
    EXPECT_EQ(played.failures, std::vector<std::string>());
    ASSERT_TRUE(demo::startPlayback(path.c_str(), true, error)) << error;
    const padscript::Result replayed = padscript::run(nullptr);
    EXPECT_TRUE(demo::finish(error)) << error;
    EXPECT_TRUE(played.backFrames > 0 && replayed.digests == played.digests);
}

} // namespace
