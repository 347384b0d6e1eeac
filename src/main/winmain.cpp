// The entry point and the idle-time message loop: one frame whenever no message is waiting.
#include "main/hoopwind.h"

#include "main/game.h"

int WinMain(bool fullscreenWanted) {
    // A fresh start: the globals may hold a previous run's values when the shell is driven twice
    // in one process (the tests do this).
    active = true;
    fullscreen = fullscreenWanted;
    if (!CreateGLWindow(WINDOW_CLASS_NAME, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, fullscreen)) {
        // Creation failed and has been reported; ending with 0 would call the failure a success.
        return 1;
    }
    Game_Init();

    MSG msg = {0, 0, 0};
    bool done = false;
    while (!done) {
        if (PeekMessage(&msg)) {
            if (msg.message == WM_QUIT) {
                done = true;
            } else {
                WndProc(hwnd, msg.message, msg.wParam, msg.lParam);
            }
        } else if (active) {
            ClearPictureBars();
            Game_Main();
            SwapBuffers(hdc);
        } else {
            WaitMessage(); // minimised: nothing to draw, nothing to do until a message comes
        }
    }

    Game_Shutdown();
    KillGLWindow();
    return static_cast<int>(msg.wParam);
}
