// The real platform: the Win32-shaped API over SDL2 (window, GL context, events as window
// messages, key state, cursor, message boxes, ticks, and 60 Hz frame pacing).
#include "platform/platform.h"

#include "platform/audio.h"
#include "platform/common/messagequeue.h"
#include "platform/demo/demo.h"
#include "platform/msgline.h"
#include "platform/screenfit.h"
#include "platform/sdl/pad_sdl.h"
#include "platform/sdl/sdl_desktop.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

struct PlatWindow {
    SDL_Window* window;
    bool fullscreen;
};
struct PlatDeviceContext {
    PlatWindow* owner;
    int pixelFormat;
    int depthBits; // the least the pixel format asked for
};
struct PlatGLContext {
    SDL_GLContext context;
};

namespace {

constexpr double FRAME_SECONDS = 1.0 / 60.0;

struct State {
    MessageQueue messages;
    PlatWindow* window = nullptr;
    PlatDeviceContext dc = {nullptr, 0, 0};
    bool vsync = false;
    Uint64 nextFrame = 0;
    int cursorCounter = 0;
    bool grabbed = false;
    bool focused = true;
    bool refocused = false;        // the first look after the focus came back must not jump
    bool warpedThisFrame = false;  // the game steers with the pointer in this frame
    bool steered = false;          // ... whether or not the pointer is ours
    bool steeredLastFrame = false; // in play, as far as the pads are concerned
    POINT lastWarp = {0, 0};
    // Keys that went down since the last frame: a tap shorter than a frame still counts as held.
    TapLatch latched;
    char initError[256] = {};
    int wantedWidth = 0;
    int wantedHeight = 0;
    bool modeSwitch = false; // full screen by switching the display's mode
    int windowWidth = 640;   // the window's size when not full screen
    int windowHeight = 480;
    bool steerMotion = false; // mouse look reads relative motion in this frame
    MotionSteer motion;
    bool returnSwallowed = false; // Return went down with Alt: the toggle's, not the game's
    MessageQueue sizes;           // size changes: live only, never recorded in a demo
};

State& state() {
    static State s;
    return s;
}

SDL_Scancode scancodeFor(int vk) {
    switch (vk) {
    case VK_ESCAPE:
        return SDL_SCANCODE_ESCAPE;
    case VK_RETURN:
        return SDL_SCANCODE_RETURN;
    case VK_TAB:
        return SDL_SCANCODE_TAB;
    case VK_LEFT:
        return SDL_SCANCODE_LEFT;
    case VK_RIGHT:
        return SDL_SCANCODE_RIGHT;
    case VK_UP:
        return SDL_SCANCODE_UP;
    case VK_DOWN:
        return SDL_SCANCODE_DOWN;
    case VK_PRIOR:
        return SDL_SCANCODE_PAGEUP;
    case VK_NEXT:
        return SDL_SCANCODE_PAGEDOWN;
    case VK_NUMPAD8:
        return SDL_SCANCODE_KP_8;
    case VK_NUMPAD2:
        return SDL_SCANCODE_KP_2;
    case VK_F1:
        return SDL_SCANCODE_F1;
    default:
        break;
    }
    if (vk >= '1' && vk <= '9') {
        return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (vk - '1'));
    }
    if (vk == '0') {
        return SDL_SCANCODE_0;
    }
    if (vk >= 'A' && vk <= 'Z') {
        // Letters follow the keyboard layout: 'A' is the key that types an a.
        return SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_a + (vk - 'A')));
    }
    return SDL_SCANCODE_UNKNOWN;
}

void releasePointer() {
    State& s = state();
    if (s.grabbed && s.window) {
        SDL_SetWindowGrab(s.window->window, SDL_FALSE);
    }
    if (s.steerMotion) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        s.steerMotion = false;
    }
    s.grabbed = false;
    SDL_ShowCursor(SDL_ENABLE);
}

// Wayland lets no client put the pointer anywhere or read where it is on the screen.
bool canWarp() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "wayland") != 0;
}

// Full screen at the desktop's mode: the window is first made borderless over the whole display,
// so it covers it even where no window manager honours the full-screen request, then asked to be
// full screen, which a window manager does above its panels.
bool coverDisplay(SDL_Window* window) {
    if (state().modeSwitch) {
        return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
    }
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0) {
        return false;
    }
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

// Back to the game's 640 x 480 window, framed and centred.
void uncoverDisplay(SDL_Window* window) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, state().windowWidth, state().windowHeight);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// Alt+Enter and F11: window and full screen swap at once; the size change that follows reaches
// the game as a live WM_SIZE. Nothing of it goes into a demo.
void toggleFullscreen() {
    PlatWindow* w = state().window;
    if (!w) {
        return;
    }
    state().refocused = true; // the window moves under the pointer: the next look must not jump
    if (w->fullscreen) {
        uncoverDisplay(w->window);
        w->fullscreen = false;
    } else {
        w->fullscreen = coverDisplay(w->window);
    }
}

// Ends a frame for the input side: taps are forgotten, and a frame in which the game did not
// steer with the pointer hands it back to the player (selection and game-over screens).
void endInputFrame() {
    State& s = state();
    s.latched.endFrame();
    if (!s.warpedThisFrame && s.grabbed) {
        releasePointer();
    }
    s.warpedThisFrame = false;
    s.steeredLastFrame = s.steered;
    s.steered = false;
    padFrameEnd();
}

void pushMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    state().messages.post(message, wParam, lParam);
}

const pad::Frame& padNow() {
    return padFrame(state().steeredLastFrame, [](UINT message) { pushMessage(message, 0, 0); });
}

void translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: // the window manager or a termination signal asks the program to end
        pushMessage(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            pushMessage(WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            pushMessage(WM_ACTIVATE, MAKEWPARAM(0, 1), 0);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                state().refocused = state().refocused || !state().focused;
                state().focused = true;
            }
            pushMessage(WM_ACTIVATE, MAKEWPARAM(1, 0), 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            state().focused = false;
            releasePointer(); // the pointer belongs to whatever has the focus now
            pushMessage(WM_ACTIVATE, MAKEWPARAM(0, 0), 0);
            break;
        case SDL_WINDOWEVENT_MOVED:
            state().refocused = true; // the pointer's window point moved with it: no jump
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            state().refocused = true;
            int w = e.window.data1, h = e.window.data2;
            if (state().window) {
                SDL_GL_GetDrawableSize(state().window->window, &w, &h);
            }
            state().sizes.post(WM_SIZE, 0,
                               MAKELPARAM(static_cast<unsigned>(w), static_cast<unsigned>(h)));
            break;
        }
        default:
            break;
        }
        break;
    case SDL_KEYDOWN: {
        const SDL_Scancode code = e.key.keysym.scancode;
        const bool altReturn = (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
                               (e.key.keysym.mod & KMOD_ALT) != 0;
        if (altReturn || code == SDL_SCANCODE_F11) {
            if (!e.key.repeat) {
                toggleFullscreen();
            }
            state().returnSwallowed = state().returnSwallowed || altReturn;
            break; // the toggle's keys are not the game's
        }
        state().latched.press(code);
        // Muting is the player's business, not the game's: it never reaches a demo.
        if (e.key.keysym.sym == SDLK_m && !e.key.repeat) {
            MusicToggleMute();
        }
        break;
    }
    case SDL_KEYUP:
        if (e.key.keysym.scancode == SDL_SCANCODE_RETURN ||
            e.key.keysym.scancode == SDL_SCANCODE_KP_ENTER) {
            state().returnSwallowed = false;
        }
        break;
    case SDL_MOUSEMOTION:
        if (state().steerMotion) {
            steerMove(state().motion, e.motion.xrel, e.motion.yrel);
        }
        break;
    case SDL_MOUSEBUTTONDOWN: {
        LPARAM where =
            MAKELPARAM(static_cast<unsigned>(e.button.x), static_cast<unsigned>(e.button.y));
        if (e.button.button == SDL_BUTTON_LEFT) {
            pushMessage(WM_LBUTTONDOWN, 0, where);
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
            pushMessage(WM_RBUTTONDOWN, 0, where);
        }
        break;
    }
    default:
        padEvent(e);
        break;
    }
}

// SDL's driver without a display: no display server to ask for the pointer, no second buffer.
bool offscreenDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && SDL_strcmp(driver, "offscreen") == 0;
}

void applyGLAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16); // the game's request is checked on the context
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

} // namespace

bool RegisterWindowClass(const char*) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
    if (!startVideo(state().initError, sizeof state().initError)) {
        return false;
    }
    padOpen();
    return true;
}

void SetFullscreenModeSwitch(bool modeSwitch) {
    state().modeSwitch = modeSwitch;
}

bool WindowIsFullscreen() {
    return state().window && state().window->fullscreen;
}

bool GetDrawableSize(HWND window, int* width, int* height) {
    if (!window || !width || !height) {
        return false;
    }
    SDL_GL_GetDrawableSize(window->window, width, height);
    return true;
}

bool UnregisterWindowClass(const char*) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    padClose();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return true;
}

bool ChangeDisplayModeFullscreen(int width, int height, int) {
    if (!state().modeSwitch) {
        return true; // full screen at the desktop's own mode: nothing to change
    }
    // The colour depth is the display's own: modern displays offer no 16-bit modes, and the
    // game draws the same at any depth.
    int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            state().wantedWidth = width;
            state().wantedHeight = height;
            return true;
        }
    }
    return false;
}

void RestoreDisplayMode() {
    PlatWindow* w = state().window;
    if (w && w->fullscreen) {
        SDL_SetWindowFullscreen(w->window, 0);
        w->fullscreen = false;
    }
}

HWND CreateGameWindow(const char* title, int width, int height, bool fullscreen,
                      bool* fullscreenRefused) {
    if (fullscreenRefused) {
        *fullscreenRefused = false;
    }
    if (state().window) {
        return nullptr;
    }
    applyGLAttributes();
    // Resizable in any case: a toggle to a window gives the player a window to size.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    const bool desktopFull = fullscreen && !state().modeSwitch;
    flags |= fullscreen && state().modeSwitch ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN)
                                              : static_cast<Uint32>(SDL_WINDOW_HIDDEN);
    state().windowWidth = width;
    state().windowHeight = height;
    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, flags);
    if (window) {
        setWindowIcon(window); // before the window is first shown, so no dock sees it without
    }
    if (window && desktopFull && !coverDisplay(window)) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    if (!window) {
        if (fullscreen && fullscreenRefused) {
            *fullscreenRefused = true; // full screen itself failed: the player is asked
        }
        return nullptr;
    }
    if (fullscreen && state().modeSwitch) {
        // Without a window manager SDL can report a full-screen window while the display kept its
        // mode: only a display really at width x height with a drawable of that size counts.
        SDL_PumpEvents();
        SDL_DisplayMode current;
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(window, &dw, &dh);
        int display = SDL_GetWindowDisplayIndex(window);
        bool real = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &current) == 0 &&
                    current.w == width && current.h == height && dw == width && dh == height;
        if (!real) {
            SDL_DestroyWindow(window);
            if (fullscreenRefused) {
                *fullscreenRefused = true;
            }
            return nullptr;
        }
    }
    SDL_DisableScreenSaver(); // the game is watched, not typed into
    state().window = new PlatWindow{window, fullscreen};
    state().lastWarp = POINT{width / 2, height / 2};
    return state().window;
}

bool DestroyGameWindow(HWND window) {
    if (!window || window != state().window) {
        return false;
    }
    SDL_DestroyWindow(window->window);
    delete window;
    state().window = nullptr;
    SDL_EnableScreenSaver();
    return true;
}

void ShowGameWindow(HWND window) {
    if (!window) {
        return;
    }
    SDL_ShowWindow(window->window);
    SDL_RaiseWindow(window->window);
    SDL_SetWindowInputFocus(window->window);
}

HDC GetWindowDeviceContext(HWND window) {
    if (!window) {
        return nullptr;
    }
    state().dc.owner = window;
    return &state().dc;
}

bool ReleaseWindowDeviceContext(HWND window, HDC dc) {
    if (!window || dc != &state().dc || dc->owner != window) {
        return false;
    }
    dc->owner = nullptr;
    dc->pixelFormat = 0;
    return true;
}

int ChoosePixelFormat(HDC dc, const PixelFormatRequest* request) {
    if (!dc || !request || !request->doubleBuffer || request->depthBits > 32) {
        return 0;
    }
    return 1; // the attributes were given to SDL when the window was made
}

bool SetPixelFormat(HDC dc, int format, const PixelFormatRequest* request) {
    if (!dc || format == 0 || !request) {
        return false;
    }
    dc->pixelFormat = format;
    dc->depthBits = request->depthBits;
    return true;
}

HGLRC CreateGLContext(HDC dc) {
    if (!dc || !dc->owner || dc->pixelFormat == 0) {
        return nullptr;
    }
    SDL_GLContext context = SDL_GL_CreateContext(dc->owner->window);
    if (!context) {
        return nullptr;
    }
    int depth = 0, doubleBuffered = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffered);
    // SDL's offscreen driver (tests without a display) draws into one buffer that is never shown.
    if (depth < dc->depthBits || (!doubleBuffered && !offscreenDriver())) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    return new PlatGLContext{context};
}

bool MakeGLContextCurrent(HDC dc, HGLRC context) {
    if (!dc && !context) {
        return state().window ? SDL_GL_MakeCurrent(state().window->window, nullptr) == 0 : true;
    }
    if (!dc || !dc->owner || !context) {
        return false;
    }
    if (SDL_GL_MakeCurrent(dc->owner->window, context->context) != 0) {
        return false;
    }
    // Vsync when the driver offers it; otherwise SwapBuffers waits out the frame itself.
    // A timed replay draws as fast as it can.
    state().vsync =
        !demo::unpaced() && SDL_GL_SetSwapInterval(1) == 0 && SDL_GL_GetSwapInterval() == 1;
    if (demo::unpaced()) {
        SDL_GL_SetSwapInterval(0);
    }
    return true;
}

bool DeleteGLContext(HGLRC context) {
    if (!context) {
        return false;
    }
    SDL_GL_DeleteContext(context->context);
    delete context;
    return true;
}

bool SwapBuffers(HDC dc) {
    if (!dc || !dc->owner) {
        return false;
    }
    SDL_GL_SwapWindow(dc->owner->window);
    endInputFrame();
    demo::frameDone();
    if (state().vsync || demo::unpaced()) {
        return true;
    }
    // Every speed in the game is per frame, so frames must not come faster than 60 a second.
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = static_cast<Uint64>(FRAME_SECONDS * static_cast<double>(frequency));
    Uint64 now = SDL_GetPerformanceCounter();
    State& s = state();
    if (s.nextFrame == 0 || now > s.nextFrame + period) {
        s.nextFrame = now + period; // first frame, or we fell behind: do not try to catch up
        return true;
    }
    while (now < s.nextFrame) {
        Uint64 remaining = s.nextFrame - now;
        Uint32 ms = static_cast<Uint32>(remaining * 1000 / frequency);
        if (ms > 1) {
            SDL_Delay(ms - 1);
        }
        now = SDL_GetPerformanceCounter();
    }
    s.nextFrame += period;
    return true;
}

namespace {

bool livePeek(MSG* msg) {
    State& s = state();
    if (s.messages.empty()) {
        SDL_Event e;
        while (s.messages.empty() && SDL_PollEvent(&e)) {
            translate(e);
        }
    }
    return s.messages.take(msg);
}

} // namespace

bool PeekMessage(MSG* msg) {
    State& s = state();
    if (s.sizes.take(msg)) {
        return true; // sizes belong to this display, not to the session: no demo has them
    }
    const bool taken = demo::peekMessage(msg, livePeek);
    if (taken && msg && msg->message == WM_SIZE && demo::playing() && s.window) {
        // An older demo carries its recording's window size: the picture follows this window.
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(s.window->window, &w, &h);
        msg->lParam = MAKELPARAM(static_cast<unsigned>(w), static_cast<unsigned>(h));
    }
    return taken;
}

// SDL does its own default handling while it pumps events; nothing is left to do here.
LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void WaitMessage() {
    SDL_WaitEventTimeout(nullptr, 100);
}

void PostQuitMessage(int exitCode) {
    pushMessage(WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

short GetAsyncKeyState(int virtualKey) {
    if (demo::playing()) {
        return demo::key(virtualKey, 0);
    }
    SDL_Scancode code = scancodeFor(virtualKey);
    bool down = false;
    if (code != SDL_SCANCODE_UNKNOWN) {
        int count = 0;
        const Uint8* keys = SDL_GetKeyboardState(&count);
        const TapLatch& latched = state().latched;
        down = code < count && (keys[code] || latched.pressed(code));
        if (virtualKey == VK_RETURN && SDL_SCANCODE_KP_ENTER < count &&
            (keys[SDL_SCANCODE_KP_ENTER] || latched.pressed(SDL_SCANCODE_KP_ENTER))) {
            down = true;
        }
        // Return with Alt held is the full-screen toggle: no restart on the game-over screen.
        if (virtualKey == VK_RETURN &&
            (state().returnSwallowed || (SDL_GetModState() & KMOD_ALT))) {
            down = false;
        }
    }
    if (virtualKey >= 0 && virtualKey < 256 && padNow().key[virtualKey]) {
        down = true;
    }
    return demo::key(virtualKey, down ? static_cast<short>(0x8000) : 0);
}

bool GetCursorPos(POINT* point) {
    if (demo::playing()) {
        return demo::cursor(point, false);
    }
    if (!point) {
        return demo::cursor(point, false);
    }
    int x = 0, y = 0;
    // Where the pointer's place cannot be read or set (Wayland), the first look of play reads the
    // point the game keeps putting it at, like every later one.
    if ((state().steerMotion || !canWarp()) && state().focused) {
        const POINT steered = steerCursor(state().motion);
        x = static_cast<int>(steered.x);
        y = static_cast<int>(steered.y);
    } else if (state().window && (!state().focused || state().refocused)) {
        // Without the focus the pointer is not the game's: report it resting where the game put
        // it. Just after the focus came back, the pointer is wherever the player left it.
        x = state().lastWarp.x;
        y = state().lastWarp.y;
        state().refocused = false;
    } else if (state().window && !offscreenDriver()) {
        // Ask the display server, not SDL's event-fed copy, so a warp is seen at once.
        int wx = 0, wy = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(state().window->window, &wx, &wy);
        x -= wx;
        y -= wy;
    } else {
        SDL_GetMouseState(&x, &y);
    }
    // The right stick steers as the mouse does.
    point->x = x + padNow().dx;
    point->y = y + padNow().dy;
    return demo::cursor(point, true);
}

bool SetCursorPos(int x, int y) {
    State& s = state();
    PlatWindow* w = s.window;
    if (!w) {
        return false;
    }
    s.lastWarp = POINT{x, y};
    s.steered = true;
    if (!s.focused || demo::playing()) {
        return true; // the pointer is the player's while another window has the focus
    }
    s.warpedThisFrame = true;
    int ww = 0, wh = 0;
    SDL_GetWindowSize(w->window, &ww, &wh);
    if (steerByMotion(canWarp(), ww, wh, x, y)) {
        // The pointer cannot be put there: the game reads the point plus the motion since.
        if (!s.steerMotion) {
            if (s.grabbed) {
                SDL_SetWindowGrab(w->window, SDL_FALSE);
            }
            SDL_SetRelativeMouseMode(SDL_TRUE);
            s.steerMotion = true;
            s.grabbed = true;
        }
        steerAnchor(s.motion, x, y);
        return true;
    }
    if (s.steerMotion) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        s.steerMotion = false;
        s.grabbed = false;
    }
    if (!s.grabbed) {
        // Mouse look steers from the window's centre: while it does, keep the cursor inside the
        // window and out of sight. The grab ends with the first frame that does not steer.
        SDL_SetWindowGrab(w->window, SDL_TRUE);
        SDL_ShowCursor(SDL_DISABLE);
        s.grabbed = true;
    }
    SDL_WarpMouseInWindow(w->window, x, y);
    // A round trip sends the warp at once: left in the request buffer until the frame is shown,
    // it would undo any motion the player makes while the frame is drawn.
    SDL_GetGlobalMouseState(nullptr, nullptr);
    return true;
}

int ShowCursor(bool show) {
    State& s = state();
    s.cursorCounter += show ? 1 : -1;
    // The counter is kept, but the pointer is hidden only while the game steers with it (see
    // SetCursorPos), so it is always there for the player on the screens between games.
    return s.cursorCounter;
}

int MessageBox(const char* text, const char* caption, UINT type) {
    const bool yesNo = (type & 0x0F) == MB_YESNO;
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"}};
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"}};
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    switch (type & 0xF0) {
    case MB_ICONSTOP:
        flags = SDL_MESSAGEBOX_ERROR;
        break;
    case MB_ICONEXCLAMATION:
        flags = SDL_MESSAGEBOX_WARNING;
        break;
    default:
        break;
    }
    SDL_MessageBoxData data = {};
    data.flags = flags;
    data.window = state().window ? state().window->window : nullptr;
    data.title = caption ? caption : "";
    data.message = text ? text : "";
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yesNoButtons : okButton;
    int pressed = 0;
    // Without any display the box helper SDL may start only prints its own complaint and the
    // player would learn nothing: the text goes straight to standard error.
    const char* x11 = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    const bool display = (x11 && *x11) || (wayland && *wayland);
    if (!display || SDL_ShowMessageBox(&data, &pressed) != 0) {
        // No box could be shown: the text goes to standard error, and the answer is the one
        // that lets the player go on (Yes to playing in a window).
        std::string line = std::string(data.title) + ": " + data.message;
        if (state().initError[0]) {
            line += std::string(" (") + state().initError + ")";
        }
        printMessageLine(line);
        return yesNo ? IDYES : IDOK;
    }
    if (pressed < 0) {
        return yesNo ? IDNO : IDOK; // the box was closed without an answer
    }
    return pressed;
}

uint32_t GetTickCount() {
    return demo::tick(SDL_GetTicks());
}
