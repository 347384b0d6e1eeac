// The headless platform: the Win32-shaped API over scripted state, so the whole game can run
// frame by frame inside a test with an offscreen GL context and no display.
#include "platform/headless.h"
#include "platform/common/messagequeue.h"
#include "platform/demo/demo.h"
#include "platform/headless/egl_offscreen.h"
#include "platform/pad/padmap.h"

#include <GL/gl.h>

#include <cstdio>
#include <deque>

struct PlatWindow {
    int width;
    int height;
    bool shown;
};
struct PlatDeviceContext {
    int pixelFormat;
    int depthBits; // the least the pixel format asked for
};
struct PlatGLContext {
    void* surface;
    void* context;
};

namespace {

struct State {
    bool keys[256] = {};
    POINT cursor = {0, 0};
    pad::State pads = {};
    pad::Mapper padMapper = {};
    pad::Frame padFrame = {};
    bool padMapped = false;
    bool steered = false;
    bool steeredLastFrame = false;
    int warps = 0;
    MessageQueue messages;
    bool fail[headless::STEP_COUNT] = {};
    std::vector<headless::MessageBoxRecord> boxes;
    std::deque<int> answers;
    uint32_t ticks = 0;
    std::function<void(int)> swapHook;
    int swaps = 0;
    std::function<void()> idleHook;
    std::vector<MSG> defaulted;
    int idles = 0;
    bool classRegistered = false;
    bool displayChanged = false;
    int cursorCounter = 0;
    PlatWindow* window = nullptr;
    PlatDeviceContext* dc = nullptr;
    PlatGLContext* currentContext = nullptr;
};

State& state() {
    static State s;
    return s;
}

bool failing(headless::Step step) {
    return state().fail[step];
}

const pad::Frame& padNow() {
    State& s = state();
    if (!s.padMapped) {
        s.padMapped = true;
        s.padFrame = pad::step(s.padMapper, s.pads, s.steeredLastFrame, s.ticks);
        for (int i = 0; i < s.padFrame.messageCount; ++i) {
            s.messages.post(s.padFrame.messages[i]);
        }
    }
    return s.padFrame;
}

} // namespace

// --- Win32-shaped API -------------------------------------------------------------------------

bool RegisterWindowClass(const char*) {
    if (failing(headless::STEP_REGISTER_CLASS)) {
        return false;
    }
    state().classRegistered = true;
    return true;
}

bool UnregisterWindowClass(const char*) {
    if (failing(headless::STEP_UNREGISTER_CLASS) || !state().classRegistered) {
        return false;
    }
    state().classRegistered = false;
    return true;
}

bool ChangeDisplayModeFullscreen(int, int, int) {
    if (failing(headless::STEP_CHANGE_DISPLAY_MODE)) {
        return false;
    }
    state().displayChanged = true;
    return true;
}

void RestoreDisplayMode() {
    state().displayChanged = false;
}

HWND CreateGameWindow(const char*, int width, int height, bool fullscreen,
                      bool* fullscreenRefused) {
    if (fullscreenRefused) {
        *fullscreenRefused = false;
    }
    if (failing(headless::STEP_CREATE_WINDOW)) {
        return nullptr;
    }
    if (fullscreen && failing(headless::STEP_FULLSCREEN_TAKES_EFFECT)) {
        if (fullscreenRefused) {
            *fullscreenRefused = true;
        }
        return nullptr;
    }
    if (state().window) {
        return nullptr; // one window only
    }
    state().window = new PlatWindow{width, height, false};
    return state().window;
}

bool DestroyGameWindow(HWND window) {
    if (failing(headless::STEP_DESTROY_WINDOW) || !window || window != state().window) {
        return false;
    }
    delete state().window;
    state().window = nullptr;
    return true;
}

void ShowGameWindow(HWND window) {
    if (window) {
        window->shown = true;
    }
}

void SetFullscreenModeSwitch(bool) {}

bool WindowIsFullscreen() {
    return state().displayChanged && state().window;
}

bool GetDrawableSize(HWND window, int* width, int* height) {
    if (!window || !width || !height) {
        return false;
    }
    *width = window->width;
    *height = window->height;
    return true;
}

HDC GetWindowDeviceContext(HWND window) {
    if (failing(headless::STEP_GET_DC) || !window) {
        return nullptr;
    }
    if (!state().dc) {
        state().dc = new PlatDeviceContext{0, 0};
    }
    return state().dc;
}

bool ReleaseWindowDeviceContext(HWND window, HDC dc) {
    if (failing(headless::STEP_RELEASE_DC) || !window || !dc || dc != state().dc) {
        return false;
    }
    delete state().dc;
    state().dc = nullptr;
    return true;
}

int ChoosePixelFormat(HDC dc, const PixelFormatRequest* request) {
    if (failing(headless::STEP_CHOOSE_PIXEL_FORMAT) || !dc || !request) {
        return 0;
    }
    return 1;
}

bool SetPixelFormat(HDC dc, int format, const PixelFormatRequest* request) {
    if (failing(headless::STEP_SET_PIXEL_FORMAT) || !dc || format == 0 || !request) {
        return false;
    }
    dc->pixelFormat = format;
    dc->depthBits = request->depthBits;
    return true;
}

HGLRC CreateGLContext(HDC dc) {
    if (failing(headless::STEP_CREATE_CONTEXT) || !dc || dc->pixelFormat == 0 ||
        headless_egl::depthBits() < dc->depthBits) {
        return nullptr;
    }
    void* surface = nullptr;
    void* context = nullptr;
    int width = state().window ? state().window->width : 640;
    int height = state().window ? state().window->height : 480;
    if (!headless_egl::createSurfaceAndContext(width, height, &surface, &context)) {
        return nullptr;
    }
    return new PlatGLContext{surface, context};
}

bool MakeGLContextCurrent(HDC dc, HGLRC context) {
    if (!dc && !context) {
        if (failing(headless::STEP_RELEASE_CURRENT)) {
            return false;
        }
        state().currentContext = nullptr;
        return headless_egl::makeCurrent(nullptr, nullptr);
    }
    if (failing(headless::STEP_MAKE_CURRENT) || !dc || !context) {
        return false;
    }
    if (!headless_egl::makeCurrent(context->surface, context->context)) {
        return false;
    }
    state().currentContext = context;
    return true;
}

bool DeleteGLContext(HGLRC context) {
    if (failing(headless::STEP_DELETE_CONTEXT) || !context) {
        return false;
    }
    if (state().currentContext == context) {
        headless_egl::makeCurrent(nullptr, nullptr);
        state().currentContext = nullptr;
    }
    headless_egl::destroy(context->surface, context->context);
    delete context;
    return true;
}

bool SwapBuffers(HDC dc) {
    if (!dc) {
        return false;
    }
    // A pbuffer has one buffer: finishing makes the frame readable; no pacing in tests.
    glFinish();
    State& s = state();
    ++s.swaps;
    s.padMapped = false;
    s.steeredLastFrame = s.steered;
    s.steered = false;
    demo::frameDone();
    if (s.swapHook) {
        auto hook = s.swapHook; // the hook may replace itself
        hook(s.swaps);
    }
    return true;
}

namespace {

bool livePeek(MSG* msg) {
    return state().messages.take(msg);
}

} // namespace

bool PeekMessage(MSG* msg) {
    return demo::peekMessage(msg, livePeek);
}

LRESULT DefWindowProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    state().defaulted.push_back(MSG{message, wParam, lParam});
    return 0;
}

void WaitMessage() {
    State& s = state();
    ++s.idles;
    if (s.idleHook) {
        auto hook = s.idleHook;
        hook();
    }
}

void PostQuitMessage(int exitCode) {
    state().messages.post(WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

short GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) {
        return 0;
    }
    const bool down = state().keys[virtualKey] || padNow().key[virtualKey];
    return demo::key(virtualKey, down ? static_cast<short>(0x8000) : 0);
}

bool GetCursorPos(POINT* point) {
    if (!point) {
        return false;
    }
    *point = state().cursor;
    point->x += padNow().dx;
    point->y += padNow().dy;
    return demo::cursor(point, true);
}

bool SetCursorPos(int x, int y) {
    state().cursor = POINT{x, y};
    state().steered = true;
    ++state().warps;
    return true;
}

int ShowCursor(bool show) {
    state().cursorCounter += show ? 1 : -1;
    return state().cursorCounter;
}

int MessageBox(const char* text, const char* caption, UINT type) {
    State& s = state();
    int answer;
    if (!s.answers.empty()) {
        answer = s.answers.front();
        s.answers.pop_front();
    } else {
        answer = (type & 0x0F) == MB_YESNO ? IDYES : IDOK;
    }
    s.boxes.push_back(
        headless::MessageBoxRecord{text ? text : "", caption ? caption : "", type, answer});
    return answer;
}

uint32_t GetTickCount() {
    return demo::tick(state().ticks);
}

// --- Controls ---------------------------------------------------------------------------------

namespace headless {

void reset() {
    State& s = state();
    PlatWindow* window = s.window;
    PlatDeviceContext* dc = s.dc;
    PlatGLContext* current = s.currentContext;
    s = State();
    // Objects a test left behind stay reachable so their owners can still release them.
    s.window = window;
    s.dc = dc;
    s.currentContext = current;
}

void setKey(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey <= 255) {
        state().keys[virtualKey] = down;
    }
}

void releaseAllKeys() {
    for (bool& k : state().keys) {
        k = false;
    }
}

void setPad(const pad::State& pads) {
    state().pads = pads;
}

void setCursor(int x, int y) {
    state().cursor = POINT{x, y};
}
POINT cursor() {
    return state().cursor;
}
int cursorWarps() {
    return state().warps;
}

const std::vector<MSG>& defaultProcessed() {
    return state().defaulted;
}

void postMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    state().messages.post(message, wParam, lParam);
}

void failStep(Step step, bool fail) {
    if (step >= 0 && step < STEP_COUNT) {
        state().fail[step] = fail;
    }
}

const std::vector<MessageBoxRecord>& messageBoxes() {
    return state().boxes;
}
void clearMessageBoxes() {
    state().boxes.clear();
}
void queueAnswer(int answer) {
    state().answers.push_back(answer);
}

void setTickCount(uint32_t ms) {
    state().ticks = ms;
}

void setSwapHook(std::function<void(int)> hook) {
    state().swapHook = std::move(hook);
}
int swapCount() {
    return state().swaps;
}
void setIdleHook(std::function<void()> hook) {
    state().idleHook = std::move(hook);
}
int idleCount() {
    return state().idles;
}

bool windowExists() {
    return state().window != nullptr;
}
bool windowShown() {
    return state().window && state().window->shown;
}
bool classRegistered() {
    return state().classRegistered;
}
bool contextCurrent() {
    return state().currentContext != nullptr;
}
bool displayModeChanged() {
    return state().displayChanged;
}
int cursorShowCount() {
    return state().cursorCounter;
}

std::vector<unsigned char> readFramebuffer(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

bool writePPM(const char* path, const std::vector<unsigned char>& rgba, int width, int height) {
    if (rgba.size() < static_cast<size_t>(width) * height * 4) {
        return false;
    }
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        return false;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgba[(static_cast<size_t>(row) * width + x) * 4];
            std::fwrite(p, 1, 3, f);
        }
    }
    return std::fclose(f) == 0;
}

OffscreenGL::OffscreenGL(int width, int height) {
    if (headless_egl::createSurfaceAndContext(width, height, &surface_, &context_)) {
        ok_ = headless_egl::makeCurrent(surface_, context_);
    }
}

OffscreenGL::~OffscreenGL() {
    headless_egl::makeCurrent(nullptr, nullptr);
    headless_egl::destroy(surface_, context_);
}

} // namespace headless
