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
    if (waited)
        *waited += ms;
    else
        wait(ms);
}

struct SdlEventsTest : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ASSERT_TRUE(RegisterWindowClass("Hoopwind"));
        // Held to the end: the GL driver's own leaks then carry its name, which the leak checker's
        // suppressions know, instead of an unloaded module's.
        SDL_GL_LoadLibrary(nullptr);
        drain();
    }
    void TearDown() override { UnregisterWindowClass("Hoopwind"); }
    // Until two looks in a row find nothing: a size change comes at the look after its event.
    static std::vector<MSG> drain() {
        std::vector<MSG> out;
        MSG m;
        while (PeekMessage(&m) || PeekMessage(&m))
            out.push_back(m);
        return out;
    }
    static std::vector<MSG> send(SDL_Event e) {
        EXPECT_EQ(SDL_PushEvent(&e), 1);
        return drain();
    }
};

// Minimising (not losing focus) deactivates, a close or a quit request becomes a close so the game
// shuts down in order, buttons carry their place; the middle button and releases are dropped.
TEST_F(SdlEventsTest, EventsBecomeTheWindowMessagesTheGameExpects) {
    const struct {
        Uint32 type;
        Uint8 detail; // window event or button
        UINT message; // 0: dropped
        bool minimised;
        LPARAM lParam;
    } cases[] = {
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED, WM_ACTIVATE, true, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED, WM_ACTIVATE, false, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST, WM_ACTIVATE, false, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE, WM_CLOSE, false, 0},
        {SDL_QUIT, 0, WM_CLOSE, false, 0},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, WM_SIZE, false, MAKELPARAM(800, 600)},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, WM_LBUTTONDOWN, false, MAKELPARAM(100, 50)},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, false, 0},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, WM_RBUTTONDOWN, false, MAKELPARAM(100, 50)},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 0, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        SDL_Event e = {};
        e.type = c.type;
        if (c.type == SDL_WINDOWEVENT) {
            e.window.event = c.detail;
            e.window.data1 = 800;
            e.window.data2 = 600;
        } else {
            e.button.button = c.detail;
            e.button.x = 100;
            e.button.y = 50;
        }
        const std::vector<MSG> messages = send(e);
        ASSERT_EQ(messages.size(), c.message != 0 ? 1u : 0u);
        if (c.message != 0) {
            EXPECT_EQ(messages[0].message, c.message);
            EXPECT_EQ(HIWORD(messages[0].wParam) != 0, c.minimised);
            EXPECT_TRUE(c.lParam == 0 || messages[0].lParam == c.lParam);
        }
    }
}

// A key pressed and released between two frames reads as held in the next frame; as the taps pile
// up within the frame, each key reads as down only once its own key was tapped.
TEST_F(SdlEventsTest, EveryBoundKeyTappedReadsAsHeld) {
    const struct {
        int vk;
        SDL_Scancode code;
    } keys[] = {{VK_ESCAPE, SDL_SCANCODE_ESCAPE},
                {VK_RETURN, SDL_SCANCODE_KP_ENTER},
                {VK_TAB, SDL_SCANCODE_TAB},
                {VK_LEFT, SDL_SCANCODE_LEFT},
                {VK_DOWN, SDL_SCANCODE_DOWN},
                {VK_PRIOR, SDL_SCANCODE_PAGEUP},
                {VK_NEXT, SDL_SCANCODE_PAGEDOWN},
                {VK_NUMPAD8, SDL_SCANCODE_KP_8},
                {VK_F1, SDL_SCANCODE_F1},
                {'1', SDL_SCANCODE_1},
                {'9', SDL_SCANCODE_9},
                {'0', SDL_SCANCODE_0},
                {'A', SDL_SCANCODE_A}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.vk);
        EXPECT_EQ(KEYDOWN(k.vk), 0);
        SDL_Event e = {};
        e.key.keysym.scancode = k.code;
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            e.type = type;
            ASSERT_EQ(SDL_PushEvent(&e), 1);
        }
        drain();
        EXPECT_EQ(KEYDOWN(k.vk), 1);
    }
    for (int unbound : {0x07, -5, 100000})
        EXPECT_EQ(GetAsyncKeyState(unbound), 0);
}

// Mouse look holds the pointer only while focused and steering (not past a frame that does not
// steer); the game's context, current on its window, really goes when deleted.
TEST_F(SdlEventsTest, PointerIsHeldOnlyWhileFocusedAndSteeringAndTheContextUntilDeleted) {
    HWND w = CreateGameWindow("Hoopwind", 640, 480, false, nullptr);
    ASSERT_NE(w, nullptr) << SDL_GetError();
    SDL_Window* sdl = SDL_GetWindowFromID(1);
    auto held = [&] {
        return (SDL_GetWindowFlags(sdl) & SDL_WINDOW_MOUSE_GRABBED) && !SDL_ShowCursor(SDL_QUERY);
    };
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    for (Uint8 focus :
         {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED}) {
        e.window.event = focus;
        send(e);
        EXPECT_TRUE(SetCursorPos(320, 240));
        EXPECT_EQ(held(), focus == SDL_WINDOWEVENT_FOCUS_GAINED) << int(focus);
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

// The platform's own keys: Return with Alt held is the full-screen toggle, never the game's
// Return, not even one tapped in the same frame; M mutes and unmutes (repeats while held do not).
TEST_F(SdlEventsTest, AltReturnTogglesTheScreenAndMTheMute) {
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = SDL_SCANCODE_RETURN;
    for (const Uint16 mod : {KMOD_NONE, KMOD_LALT}) {
        e.key.keysym.mod = mod;
        send(e);
        EXPECT_EQ(KEYDOWN(VK_RETURN), mod == KMOD_NONE ? 1 : 0);
    }
    e.key.keysym = {};
    e.key.keysym.sym = SDLK_m;
    int presses = 0;
    for (int repeat : {0, 1, 0}) {
        e.key.repeat = static_cast<Uint8>(repeat);
        presses += repeat == 0;
        send(e);
        EXPECT_EQ(MusicMuted(), presses == 1);
    }
}

// SDL_GAMECONTROLLERCONFIG makes a joystick SDL does not know a controller: mapped, its first
// button is B (team 2 on the selection screen), not a plain joystick's catch.
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

// A question has No (Escape) and Yes (Return); a notice one OK for both; a box closed without an
// answer is No or OK.
TEST_F(SdlEventsTest, MessageBoxesAskWithTheButtonsOfTheirKind) {
    setenv("DISPLAY", ":99", 0); // a display to show boxes on, as far as the platform knows
    const std::string esc = std::to_string(SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT),
                      ret = std::to_string(SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT),
                      both = std::to_string(SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                                            SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT);
    boxAnswer = IDYES;
    EXPECT_EQ(MessageBox("Windowed?", "FULLSCREEN Error", MB_YESNO | MB_ICONEXCLAMATION), IDYES);
    EXPECT_EQ(boxShown,
              (std::vector<std::string>{"FULLSCREEN Error", std::to_string(SDL_MESSAGEBOX_WARNING),
                                        std::to_string(IDNO) + "No" + esc,
                                        std::to_string(IDYES) + "Yes" + ret}));
    boxAnswer = -1;
    EXPECT_EQ(MessageBox("Windowed?", "Q", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Gone.", "Error", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(boxShown, (std::vector<std::string>{"Error", std::to_string(SDL_MESSAGEBOX_ERROR),
                                                  std::to_string(IDOK) + "OK" + both}));
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

// An X server that refuses connections (as one does while it starts) is tried again for up to
// three seconds, then the start fails with SDL's reason.
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
    EXPECT_TRUE(total >= 1000 && total <= 3000) << total << " ms";
    EXPECT_NE(error[0], '\0');
    SDL_Quit();
    setenv("DISPLAY", display.c_str(), 1);
}
