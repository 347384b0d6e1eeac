// The browser page's platform: the Win32-shaped API over the page's canvas and WebGL context,
// with the page's animation frames driving the game's loop.
#include "platform/demo/demo.h"
#include "platform/web/webstate_local.h"

#include <GL/gl.h>
#include <emscripten.h>
#include <emscripten/html5.h>

struct PlatWindow {
    int width;
    int height;
};
struct PlatDeviceContext {
    PlatWindow* owner;
    int pixelFormat;
};
struct PlatGLContext {
    int unused;
};

namespace web {

State& state() {
    static State s;
    return s;
}

} // namespace web

namespace {

using web::state;

constexpr double FRAME_MS = 1000.0 / 60.0;
// An unpaced replay draws frames back to back for this long before the page gets a turn.
constexpr double UNPACED_SLICE_MS = 12.0;

PlatWindow theWindow = {640, 480};
PlatDeviceContext theDC = {nullptr, 0};
PlatGLContext theContext = {0};
int cursorCounter = 0;

bool (*loopPass)() = nullptr;
int (*loopFinish)() = nullptr;
double nextFrame = 0;
bool loopStarted = false;

// The context the legacy GL layer draws through, made on the page's canvas: no alpha (the game
// clears with alpha 0 and means an opaque sky), a depth buffer, no multisampling.
// clang-format off
EM_JS(int, makePageContext, (), {
    var canvas = document.getElementById("canvas");
    if (!canvas) {
        return 0;
    }
    Module.canvas = canvas;
    var ctx = Browser.createContext(canvas, true, true, {
        alpha : false,
        depth : true,
        stencil : false,
        antialias : false,
        premultipliedAlpha : false,
        preserveDrawingBuffer : false,
        majorVersion : 1
    });
    return ctx ? 1 : 0;
});
// clang-format on

// clang-format off
EM_JS(int, showPageBox, (const char* text, const char* caption, int yesNo), {
    var line = UTF8ToString(caption) + ": " + UTF8ToString(text);
    console.warn(line);
    if (yesNo) {
        return confirm(line) ? 1 : 0;
    }
    alert(line);
    return 1;
});
// clang-format on

// clang-format off
EM_JS(void, focusCanvas, (), {
    var canvas = document.getElementById("canvas");
    if (canvas && canvas.focus) {
        canvas.focus();
    }
});
// clang-format on

// clang-format off
EM_JS(void, markPointer, (int mode), {
    var canvas = document.getElementById("canvas");
    if (canvas) {
        canvas.dataset.pointer = ["free", "steering", "locked"][mode];
    }
});
// clang-format on

// How the page holds the pointer, on the canvas for the page's hint (and the tests): free on the
// screens, locked while steering, or steering unlocked until a click asks for the lock again.
void showPointerMode(const web::State& s) {
    static int shown = -1;
    const int mode = !s.steering ? 0 : (s.locked ? 2 : 1);
    if (mode != shown) {
        shown = mode;
        markPointer(mode);
    }
}

// A frame in which the game did not steer hands the pointer back (selection and game-over
// screens), and the next stretch of steering may ask for the lock again; taps are forgotten.
void endInputFrame() {
    web::State& s = state();
    s.latched.endFrame();
    showPointerMode(s);
    if (!s.steering) {
        web::releaseLock();
        s.moveX = s.moveY = 0;
        s.lockWaits = false;
    }
    s.steeredLastFrame = s.steering;
    s.steering = false;
    s.padMapped = false;
}

// A size the page's layout gave the canvas (a larger window, full screen) becomes a resize.
void followCanvasSize() {
    web::State& s = state();
    int w = 0, h = 0;
    web::canvasCssSize(&w, &h);
    if (w > 0 && h > 0 && (w != s.width || h != s.height)) {
        s.width = w;
        s.height = h;
        emscripten_set_canvas_element_size("#canvas", w, h);
        s.messages.post(WM_SIZE, 0, MAKELPARAM(static_cast<unsigned>(w), static_cast<unsigned>(h)));
    }
}

// clang-format off
// A replay can stop at chosen frames (the page's ?pauseat=) so they can be looked at; the page
// resumes it.
EM_JS(int, pauseWanted, (int frame), {
    return Module.pauseAt && Module.pauseAt.indexOf(frame) >= 0 ? 1 : 0;
});

EM_JS(void, tellPaused, (int frame), {
    Module.paused = true;
    if (Module.onPause) {
        Module.onPause(frame);
    }
});

// The page holds the game (a replay stopped at a frame, a lost context) by setting Module.paused.
// The loop itself keeps running, idle: a paused loop would let the runtime end.
EM_JS(int, pagePaused, (), {
    return Module.paused ? 1 : 0;
});
// clang-format on

int pauseFrame = 0; // the frame a replay stops after, once its pass is over

void endLoop() {
    emscripten_cancel_main_loop();
    const int status = loopFinish();
    emscripten_force_exit(status); // the page hears of it through Module.onExit
}

// One turn of the page: a pass of the game's loop at 60 a second (the game's speeds are per
// frame, and a display may refresh faster), or as many as fit a time slice for a timed replay.
void pageTurn() {
    if (!loopStarted) {
        loopStarted = true;
        if (demo::unpaced()) {
            emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
        }
    }
    // A held timed replay waits at the display's pace instead of spinning.
    static bool idling = false;
    if (pagePaused()) {
        nextFrame = 0;
        if (demo::unpaced() && !idling) {
            emscripten_set_main_loop_timing(EM_TIMING_RAF, 1);
        }
        idling = true;
        return;
    }
    if (idling && demo::unpaced()) {
        emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    }
    idling = false;
    followCanvasSize();
    const double now = emscripten_get_now();
    if (demo::unpaced()) {
        while (!pauseFrame && emscripten_get_now() - now < UNPACED_SLICE_MS) {
            if (!loopPass()) {
                endLoop();
                return;
            }
        }
    } else if (now + 2.0 >= nextFrame) { // else a faster display's extra frame
        nextFrame = now - nextFrame > FRAME_MS ? now + FRAME_MS : nextFrame + FRAME_MS;
        if (!loopPass()) {
            endLoop();
            return;
        }
    }
    if (pauseFrame) {
        tellPaused(pauseFrame);
        pauseFrame = 0;
    }
}

uint32_t pageTicks() {
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

bool livePeek(MSG* msg) {
    web::padNow(pageTicks()); // a pad's buttons become messages before the frame
    return state().messages.take(msg);
}

} // namespace

int RunLoop(bool (*pass)(), int (*finish)()) {
    loopPass = pass;
    loopFinish = finish;
    nextFrame = 0;
    loopStarted = false;
    emscripten_set_main_loop(pageTurn, 0, 1); // does not return: the page calls pageTurn
    return 0;
}

bool RegisterWindowClass(const char*) {
    return true;
}

bool UnregisterWindowClass(const char*) {
    return true;
}

// The page is the window: full screen is the page's own button, never a question.
bool ChangeDisplayModeFullscreen(int, int, int) {
    return true;
}

void RestoreDisplayMode() {}

// The page's own full screen shows the canvas as the page lays it out: the picture fills the
// canvas, as in a window.
void SetFullscreenModeSwitch(bool) {}

bool WindowIsFullscreen() {
    return false;
}

bool GetDrawableSize(HWND window, int* width, int* height) {
    if (window != &theWindow || !width || !height) {
        return false;
    }
    *width = state().width;
    *height = state().height;
    return true;
}

HWND CreateGameWindow(const char*, int width, int height, bool, bool* fullscreenRefused) {
    if (fullscreenRefused) {
        *fullscreenRefused = false;
    }
    web::State& s = state();
    if (s.windowMade) {
        return nullptr;
    }
    if (emscripten_set_canvas_element_size("#canvas", width, height) != EMSCRIPTEN_RESULT_SUCCESS) {
        return nullptr; // the page has no canvas
    }
    s.width = width;
    s.height = height;
    s.warp = POINT{width / 2, height / 2};
    s.windowMade = true;
    theWindow = PlatWindow{width, height};
    web::installInput();
    return &theWindow;
}

bool DestroyGameWindow(HWND window) {
    if (window != &theWindow || !state().windowMade) {
        return false;
    }
    web::removeInput();
    state().windowMade = false;
    return true;
}

void ShowGameWindow(HWND window) {
    if (window) {
        focusCanvas();
    }
}

HDC GetWindowDeviceContext(HWND window) {
    if (!window) {
        return nullptr;
    }
    theDC.owner = window;
    return &theDC;
}

bool ReleaseWindowDeviceContext(HWND window, HDC dc) {
    if (!window || dc != &theDC || dc->owner != window) {
        return false;
    }
    dc->owner = nullptr;
    dc->pixelFormat = 0;
    return true;
}

int ChoosePixelFormat(HDC dc, const PixelFormatRequest* request) {
    if (!dc || !request || !request->doubleBuffer || request->depthBits > 24) {
        return 0;
    }
    return 1;
}

bool SetPixelFormat(HDC dc, int format, const PixelFormatRequest*) {
    if (!dc || format == 0) {
        return false;
    }
    dc->pixelFormat = format;
    return true;
}

HGLRC CreateGLContext(HDC dc) {
    if (!dc || !dc->owner || dc->pixelFormat == 0 || !makePageContext()) {
        return nullptr;
    }
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    return depth >= 16 ? &theContext : nullptr;
}

bool MakeGLContextCurrent(HDC dc, HGLRC context) {
    return (!dc && !context) || (dc && dc->owner && context == &theContext);
}

bool DeleteGLContext(HGLRC context) {
    return context == &theContext;
}

// The page shows the canvas when the turn ends; here a frame only ends for input and demos.
bool SwapBuffers(HDC dc) {
    if (!dc || !dc->owner) {
        return false;
    }
    endInputFrame();
    demo::frameDone();
    if (demo::playing() && pauseWanted(demo::frames())) {
        pauseFrame = demo::frames();
    }
    return true;
}

bool PeekMessage(MSG* msg) {
    return demo::peekMessage(msg, livePeek);
}

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

// Nothing to wait for: a hidden page gets no animation frames until it is shown again.
void WaitMessage() {}

void PostQuitMessage(int exitCode) {
    state().messages.post(WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

short GetAsyncKeyState(int virtualKey) {
    if (demo::playing()) {
        return demo::key(virtualKey, 0);
    }
    const web::State& s = state();
    const bool down = virtualKey >= 0 && virtualKey < 256 &&
                      (s.keys[virtualKey] || s.latched.pressed(virtualKey) ||
                       web::padNow(pageTicks()).key[virtualKey]);
    return demo::key(virtualKey, down ? static_cast<short>(0x8000) : 0);
}

bool GetCursorPos(POINT* point) {
    if (demo::playing() || !point) {
        return demo::cursor(point, false);
    }
    const web::State& s = state();
    point->x = s.warp.x + s.moveX + web::padNow(pageTicks()).dx;
    point->y = s.warp.y + s.moveY + web::padNow(pageTicks()).dy;
    return demo::cursor(point, true);
}

bool SetCursorPos(int x, int y) {
    web::State& s = state();
    if (!s.windowMade) {
        return false;
    }
    s.warp = POINT{x, y};
    s.moveX = s.moveY = 0;
    if (!s.focused || demo::playing()) {
        return true; // the pointer is the player's while the page has no focus
    }
    s.steering = true;
    if (!s.lockWaits) {
        web::requestLock();
    }
    return true;
}

int ShowCursor(bool show) {
    cursorCounter += show ? 1 : -1;
    return cursorCounter;
}

int MessageBox(const char* text, const char* caption, UINT type) {
    const bool yesNo = (type & 0x0F) == MB_YESNO;
    const int answer = showPageBox(text ? text : "", caption ? caption : "", yesNo ? 1 : 0);
    return yesNo ? (answer ? IDYES : IDNO) : IDOK;
}

uint32_t GetTickCount() {
    return demo::tick(pageTicks());
}
