// The entry point and the idle-time message loop: one frame whenever no message is waiting.
#include "main/hoopwind.h"

#include "main/game.h"

namespace {

MSG msg = {0, 0, 0};
int (*afterRun)(int status) = nullptr;

// One pass of the loop: every waiting message, then one frame (or a wait while minimised). False
// once the quit message has been taken.
bool loopPass() {
    while (PeekMessage(&msg)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        WndProc(hwnd, msg.message, msg.wParam, msg.lParam);
    }
    if (active) {
        ClearPictureBars();
        Game_Main();
        SwapBuffers(hdc);
    } else {
        WaitMessage(); // minimised: nothing to draw, nothing to do until a message comes
    }
    return true;
}

int finishRun(int status) {
    return afterRun ? afterRun(status) : status;
}

int loopEnd() {
    Game_Shutdown();
    KillGLWindow();
    return finishRun(static_cast<int>(msg.wParam));
}

} // namespace

int WinMain(bool fullscreenWanted, int (*whenDone)(int status)) {
    // A fresh start: the globals may hold a previous run's values when the shell is driven twice
    // in one process (the tests do this).
    active = true;
    fullscreen = fullscreenWanted;
    msg = MSG{0, 0, 0};
    afterRun = whenDone;
    if (!CreateGLWindow(WINDOW_CLASS_NAME, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, fullscreen)) {
        // Creation failed and has been reported; ending with 0 would call the failure a success.
        return finishRun(1);
    }
    Game_Init();
    return RunLoop(loopPass, loopEnd);
}
