// The SDL platform turns input events into window messages, key states and the music's mute.
#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_desktop.h"

#include <SDL.h>
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

// SDL's box, stood in for: what the platform asked it to show, and the button it answers.
std::vector<std::string> boxShown;
int boxAnswer = -1;

int SDL_ShowMessageBox(const SDL_MessageBoxData* data, int* pressed) {
    boxShown = {data->title, std::to_string(data->flags)};
    for (int i = 0; i < data->numbuttons; ++i)
        boxShown.push_back(std::to_string(data->buttons[i].buttonid) + data->buttons[i].text +
                           std::to_string(data->buttons[i].flags));
    *pressed = boxAnswer;
    return 0;
}

// SDL's wait, stood in for while `waited` counts: the milliseconds asked for, not waited.
Uint32* waited = nullptr;
void SDL_Delay(Uint32 ms) {
    static const auto wait = reinterpret_cast<void (*)(Uint32)>(dlsym(RTLD_NEXT, "SDL_Delay"));
    waited ? void(*waited += ms) : wait(ms);
}

struct SdlEventsTest : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ASSERT_TRUE(RegisterWindowClass("Hoopwind"));
        // Held to the end, so the GL driver's leaks carry its name, which the suppressions know.
        SDL_GL_LoadLibrary(nullptr);
        drain();
    }
    void TearDown() override { UnregisterWindowClass("Hoopwind"); }
    // Until two looks in a row find nothing: a size change comes at the look after its event.
    static std::vector<MSG> drain() {
        std::vector<MSG> out;
        for (MSG m; PeekMessage(&m) || PeekMessage(&m);)
            out.push_back(m);
        return out;
    }
    static std::vector<MSG> send(SDL_Event e) {
        EXPECT_EQ(SDL_PushEvent(&e), 1);
        return drain();
    }
};

// A quit becomes a close so the game shuts down in order; message 0: dropped, lParam 0: any.
TEST_F(SdlEventsTest, EventsBecomeTheWindowMessagesTheGameExpects) {
    const std::tuple<Uint32, Uint8, UINT, LPARAM> cases[] = {
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED, WM_ACTIVATE, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED, WM_ACTIVATE, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST, WM_ACTIVATE, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE, WM_CLOSE, 0},
        {SDL_QUIT, 0, WM_CLOSE, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, WM_SIZE, MAKELPARAM(800, 600)},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, WM_LBUTTONDOWN, MAKELPARAM(100, 50)},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 0},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, WM_RBUTTONDOWN, MAKELPARAM(100, 50)},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 0, 0},
    };
    for (const auto& [type, detail, message, lParam] : cases) {
        SDL_Event e = {};
        if (type == SDL_WINDOWEVENT)
            e.window = {type, 0, 0, detail, 0, 0, 0, 800, 600};
        else
            e.button = {type, 0, 0, 0, detail, 0, 0, 0, 100, 50};
        const std::vector<MSG> m = send(e);
        ASSERT_EQ(m.size(), message != 0 ? 1u : 0u) << type << "/" << int(detail);
        for (const MSG& g : m)
            EXPECT_EQ(std::make_tuple(g.message, HIWORD(g.wParam) != 0, lParam ? g.lParam : 0),
                      std::make_tuple(message, detail == SDL_WINDOWEVENT_MINIMIZED, lParam));
    }
}

// A key tapped between two frames reads as held in the next one (and only once it was tapped).
TEST_F(SdlEventsTest, EveryBoundKeyTappedReadsAsHeldAltReturnTogglesTheScreenAndMTheMute) {
    const int vks[] = {VK_ESCAPE,  VK_RETURN, VK_TAB, VK_LEFT, VK_DOWN, VK_PRIOR, VK_NEXT,
                       VK_NUMPAD8, VK_F1,     '1',    '9',     '0',     'A'};
    const SDL_Scancode codes[] = {SDL_SCANCODE_ESCAPE,   SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_TAB,
                                  SDL_SCANCODE_LEFT,     SDL_SCANCODE_DOWN,     SDL_SCANCODE_PAGEUP,
                                  SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_KP_8,     SDL_SCANCODE_F1,
                                  SDL_SCANCODE_1,        SDL_SCANCODE_9,        SDL_SCANCODE_0,
                                  SDL_SCANCODE_A}; // in the same order
    for (size_t k = 0; k < std::size(vks); ++k) {
        EXPECT_EQ(KEYDOWN(vks[k]), 0) << vks[k];
        SDL_Event down = {SDL_KEYDOWN}, up = {SDL_KEYUP};
        down.key.keysym.scancode = up.key.keysym.scancode = codes[k];
        ASSERT_TRUE(SDL_PushEvent(&down) == 1 && SDL_PushEvent(&up) == 1);
        drain();
        EXPECT_EQ(KEYDOWN(vks[k]), 1) << vks[k];
    }
    for (int unbound : {0x07, -5, 100000})
        EXPECT_EQ(GetAsyncKeyState(unbound), 0);
    // Alt+Return toggles full screen, never the game's Return; M mutes and unmutes, not repeats.
    SDL_Event e = {SDL_KEYDOWN};
    for (const Uint16 mod : {KMOD_NONE, KMOD_LALT}) {
        e.key.keysym = {SDL_SCANCODE_RETURN, 0, mod, 0};
        send(e);
        EXPECT_EQ(KEYDOWN(VK_RETURN), mod == KMOD_NONE ? 1 : 0);
    }
    e.key.keysym = {SDL_SCANCODE_UNKNOWN, SDLK_m, 0, 0};
    for (int i = 0; i < 3; ++i) { // a repeat between two presses
        e.key.repeat = i == 1;
        send(e);
        EXPECT_EQ(MusicMuted(), i < 2);
    }
}

// Mouse look holds the pointer only while focused and steering; a deleted current context goes.
TEST_F(SdlEventsTest, PointerIsHeldOnlyWhileFocusedAndSteeringAndTheContextUntilDeleted) {
    HWND w = CreateGameWindow("Hoopwind", 640, 480, false, nullptr);
    ASSERT_NE(w, nullptr) << SDL_GetError();
    auto held = [sdl = SDL_GetWindowFromID(1)] {
        return (SDL_GetWindowFlags(sdl) & SDL_WINDOW_MOUSE_GRABBED) && !SDL_ShowCursor(SDL_QUERY);
    };
    SDL_Event e = {};
    const Uint8 gained = SDL_WINDOWEVENT_FOCUS_GAINED;
    for (Uint8 focus : {gained, Uint8(SDL_WINDOWEVENT_FOCUS_LOST), gained}) {
        e.window = {SDL_WINDOWEVENT, 0, 0, focus, 0, 0, 0, 0, 0};
        send(e);
        EXPECT_TRUE(SetCursorPos(320, 240));
        EXPECT_EQ(held(), focus == gained) << int(focus);
    }
    HDC dc = GetWindowDeviceContext(w);
    SwapBuffers(dc); // a frame that steered keeps the pointer, the next one that did not frees it
    EXPECT_TRUE(held());
    SwapBuffers(dc);
    EXPECT_FALSE(held());
    const PixelFormatRequest request = {16, 16, true};
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
    HGLRC rc = CreateGLContext(dc);
    ASSERT_NE(rc, nullptr) << SDL_GetError();
    int bits = 0; // a context has at least the depth its pixel format asked for, or none is made
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &bits);
    const PixelFormatRequest deeper = {16, bits + 1, true};
    ASSERT_TRUE(bits >= 16 && SetPixelFormat(dc, ChoosePixelFormat(dc, &deeper), &deeper)) << bits;
    EXPECT_EQ(CreateGLContext(dc), nullptr);
    ASSERT_TRUE(MakeGLContextCurrent(dc, rc));
    EXPECT_NE(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_TRUE(DeleteGLContext(rc));
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    ReleaseWindowDeviceContext(w, dc);
    DestroyGameWindow(w);
}

// SDL_GAMECONTROLLERCONFIG maps an unknown joystick: its first button is B (team 2), not A.
TEST_F(SdlEventsTest, PadMappingsFromTheEnvironmentAreHonoured) {
    SDL_VirtualJoystickDesc d = {};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.nbuttons = 1;
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(SDL_JoystickAttachVirtualEx(&d)), guid, 64);
    SDL_JoystickDetachVirtual(0);
    std::fill(guid + 4, guid + 8, '0'); // as users' mapping strings have it: no name checksum
    UnregisterWindowClass("Hoopwind");
    setenv("SDL_GAMECONTROLLERCONFIG", (std::string(guid) + ",couch stick,b:b0,").c_str(), 1);
    ASSERT_TRUE(RegisterWindowClass("Hoopwind"));
    SDL_Joystick* stick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&d));
    SDL_JoystickSetVirtualButton(stick, 0, 1);
    drain();
    EXPECT_EQ(KEYDOWN('2'), 1);
    SDL_JoystickClose(stick);
    unsetenv("SDL_GAMECONTROLLERCONFIG");
}

// A question has No (Escape) and Yes (Return), a notice OK for both; unanswered: No or OK.
TEST_F(SdlEventsTest, MessageBoxesAskWithTheButtonsOfTheirKind) {
    setenv("DISPLAY", ":99", 0); // a display to show boxes on, as far as the platform knows
    const auto s = [](int v) { return std::to_string(v); };
    const int esc = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
              ret = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    boxAnswer = IDYES;
    EXPECT_EQ(MessageBox("Windowed?", "FULLSCREEN Error", MB_YESNO | MB_ICONEXCLAMATION), IDYES);
    EXPECT_EQ(boxShown,
              (std::vector<std::string>{"FULLSCREEN Error", s(SDL_MESSAGEBOX_WARNING),
                                        s(IDNO) + "No" + s(esc), s(IDYES) + "Yes" + s(ret)}));
    boxAnswer = -1;
    EXPECT_EQ(MessageBox("Windowed?", "Q", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Gone.", "Error", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(boxShown, (std::vector<std::string>{"Error", s(SDL_MESSAGEBOX_ERROR),
                                                  s(IDOK) + "OK" + s(esc | ret)}));
}

// The sound library's own complaints are silenced: an unknown device fails with nothing said.
TEST(SoundLibrary, ComplaintsAreSilenced) {
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        GTEST_SKIP() << "no sound library here";
    auto open =
        reinterpret_cast<int (*)(void**, const char*, int, int)>(dlsym(library, "snd_pcm_open"));
    ASSERT_NE(open, nullptr);
    silenceSoundLibrary();
    void* pcm = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_NE(open(&pcm, "hoopwind_no_such_device", 0, 0), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    dlclose(library);
}

// A refusing X server (as one starting up) is tried for one to three seconds, then SDL's reason.
TEST(Desktop, ARefusingDisplayIsTriedForUpToThreeSeconds) {
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("WAYLAND_DISPLAY");
    const std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4242", 1); // no server there
    Uint32 total = 0;
    waited = &total;
    char error[256] = "";
    EXPECT_FALSE(startVideo(error, sizeof error));
    waited = nullptr;
    EXPECT_TRUE(total >= 1000 && total <= 3000 && error[0]) << total << " ms: " << error;
    SDL_Quit();
    setenv("DISPLAY", display.c_str(), 1);
}
