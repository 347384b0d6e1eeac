// Controls of the headless platform used by tests and tools: scripted keys, pads, cursor and
// messages, recorded message boxes with scripted answers, injected creation failures, a settable
// tick count, a per-swap hook, and an offscreen GL context on Mesa (EGL, surfaceless pbuffer).
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>
#include <vector>

namespace pad {
struct State; // platform/pad/padmap.h
}

namespace headless {

// Creation and teardown steps whose failure a test can inject.
enum Step {
    STEP_REGISTER_CLASS,
    STEP_CHANGE_DISPLAY_MODE,
    STEP_FULLSCREEN_TAKES_EFFECT, // the window is made but the display did not switch
    STEP_CREATE_WINDOW,
    STEP_GET_DC,
    STEP_CHOOSE_PIXEL_FORMAT,
    STEP_SET_PIXEL_FORMAT,
    STEP_CREATE_CONTEXT,
    STEP_MAKE_CURRENT,
    STEP_RELEASE_CURRENT,
    STEP_DELETE_CONTEXT,
    STEP_RELEASE_DC,
    STEP_DESTROY_WINDOW,
    STEP_UNREGISTER_CLASS,
    STEP_COUNT
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    UINT type;
    int answer;
};

// Back to a fresh state: no keys held, cursor (0, 0), empty queues, no failures, tick count 0,
// no hook, no window. Does not destroy an OffscreenGL or a context made through the window calls.
void reset();

void setKey(int virtualKey, bool down);
void releaseAllKeys();
void setCursor(int x, int y);
// Every pad together, mapped as the real game maps it at the first key or cursor look of each
// frame (button messages join the queue then; Back's hold is timed with the tick count).
void setPad(const pad::State& pads);
POINT cursor();
int cursorWarps(); // SetCursorPos calls since reset

// Messages handed to DefWindowProc since reset, in order.
const std::vector<MSG>& defaultProcessed();

void postMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

void failStep(Step step, bool fail = true);

// Boxes shown so far, in order. Answers: queued answers first, else IDOK for MB_OK, IDYES for
// Yes/No.
const std::vector<MessageBoxRecord>& messageBoxes();
void clearMessageBoxes();
void queueAnswer(int answer);

void setTickCount(uint32_t ms);

// Called at the end of every SwapBuffers with the number of swaps so far (1 for the first).
void setSwapHook(std::function<void(int swapCount)> hook);
int swapCount();
// Called by WaitMessage (the loop waits while the window is minimised); tests script restores here.
void setIdleHook(std::function<void()> hook);
int idleCount();

bool windowExists();
bool windowShown();
bool classRegistered();
bool contextCurrent();
bool displayModeChanged();
int cursorShowCount(); // ShowCursor's display counter: shown while it is 0 or more

// Reads the current GL framebuffer (640 x 480 RGBA, bottom row first).
std::vector<unsigned char> readFramebuffer(int width = 640, int height = 480);
// Writes RGBA pixels (bottom row first) as a binary PPM, for looking at a test's picture.
bool writePPM(const char* path, const std::vector<unsigned char>& rgba, int width, int height);

// A current offscreen GL context for tests that do not go through window creation.
class OffscreenGL {
  public:
    OffscreenGL(int width = 640, int height = 480);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;
    bool ok() const { return ok_; }

  private:
    void* surface_ = nullptr;
    void* context_ = nullptr;
    bool ok_ = false;
};

} // namespace headless
